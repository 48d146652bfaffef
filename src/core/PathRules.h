#pragma once

#include <QString>

namespace velkaro {

class Project;

// What becomes of a path chosen for a slot.
enum class PathVerdict
{
    Accepted, // in the slot now
    Outside,  // not below the CD root; nothing shown, the caller says or asks
    Refused   // below the root, but the disc cannot carry it; the message was shown
};

// Puts a chosen path into slot n (TargetSlot to IconSlot) when it lies inside
// the CD root and the disc can carry its part below the root. The window's
// choosers and the command line decide by this one rule.
PathVerdict TakeChosenPath(Project& project, int n, const QString& path);

// Why a path outside the CD root is not taken; the window adds its question.
QString OutsideRootText();

} // namespace velkaro
