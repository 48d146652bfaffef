#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace velkaro::image {

// A name in a folder of the disc as Windows lists it.
struct DiscEntry
{
    QString name;     // in the Joliet tree
    QString original; // in the CD root folder; for an image the same as name
    bool folder = false;
    QString change; // why name differs from original, as a clause; empty when it does not
};

// The disc as Windows will read it: its Joliet tree. Folders are named by
// the original names of their path from the root.
class DiscView
{
public:
    virtual ~DiscView() = default;
    // Nothing when the folder cannot be read.
    virtual std::optional<QList<DiscEntry>> List(const QStringList& folder) const = 0;
    virtual std::optional<QByteArray> Read(const QStringList& file) const = 0;
};

// The Joliet names that the writer gives the names of one folder. A name
// that several names would share after shortening is changed for all of
// them (the writer numbers them).
QList<DiscEntry> PredictJolietNames(const QList<std::pair<QString, bool>>& namesAndFolder);

// A prepared CD root folder, read with the names the image will carry.
class FolderView final : public DiscView
{
public:
    explicit FolderView(QString root);
    std::optional<QList<DiscEntry>> List(const QStringList& folder) const override;
    std::optional<QByteArray> Read(const QStringList& file) const override;

private:
    QString m_root;
    QByteArray PathOf(const QStringList& parts) const;
};

} // namespace velkaro::image
