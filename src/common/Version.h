#pragma once

#include <QString>
#include <QtGlobal>

namespace velkaro {

struct ProgramVersion
{
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The version this build carries, from the project's version in CMake.
ProgramVersion CurrentVersion();

// Format 256 (bit 8: short version; low byte 0: framed) gives " (V1.7a)":
// major "." minor, and from revision 100 on the letter 96 + revision / 100,
// rounded half to even. Without bit 8 the full "1.07.0110" is used; a low
// byte other than 0 leaves the frame off.
QString GetVersionText(quint16 format);
QString GetVersionText(quint16 format, const ProgramVersion& version);

} // namespace velkaro
