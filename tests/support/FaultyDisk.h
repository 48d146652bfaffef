#pragma once

#include "FileHelpers.h"

#include <QDir>
#include <QFileDevice>
#include <functional>

namespace velkaro::test {

// The system's disk, but: the file named fullAt gets half of its first piece,
// then the disk is full; beforePiece, when set, runs before each piece.
class FaultyDisk final : public Disk
{
public:
    MaybeFailure writePiece(QFileDevice& file, const QString& path, QByteArrayView piece) override
    {
        if (beforePiece)
            beforePiece();
        if (fullAt.isEmpty() || !path.endsWith(QDir::separator() + fullAt))
            return SystemDisk().writePiece(file, path, piece);
        const MaybeFailure half =
            SystemDisk().writePiece(file, path, piece.first(piece.size() / 2));
        return half ? half : Failure::fromCode(FailureCode::DiskFull);
    }

    QString fullAt;
    std::function<void()> beforePiece;
};

} // namespace velkaro::test
