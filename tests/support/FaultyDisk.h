#pragma once

#include "FileHelpers.h"

#include <QDir>
#include <QFileDevice>
#include <functional>

namespace velkaro::test {

// A disk that fails where the test says and is the system's disk elsewhere:
// the file named fullAt gets half of its first piece, then the disk is full;
// beforePiece, when set, runs before each piece is written.
class FaultyDisk final : public Disk
{
public:
    MaybeFailure writePiece(QFileDevice& file, const QString& path, QByteArrayView piece) override
    {
        if (beforePiece)
            beforePiece();
        if (fullAt.isEmpty() || !path.endsWith(QDir::separator() + fullAt))
            return SystemDisk().writePiece(file, path, piece);
        if (MaybeFailure failure =
                SystemDisk().writePiece(file, path, piece.first(piece.size() / 2)))
            return failure;
        return Failure::fromCode(FailureCode::DiskFull);
    }

    QString fullAt;
    std::function<void()> beforePiece;
};

} // namespace velkaro::test
