#pragma once

class QWidget;

namespace velkaro {

class Presenter;
class Project;

// "&Auswahl ..." of section (1): a chosen folder becomes the CD root and
// starts a new project, also when it is the same folder again. Gives true
// when a root was taken, false on Cancel.
bool ChooseCdRoot(Project& project, Presenter& presenter, QWidget* owner);

// "&Auswahl ..." of slot n (TargetSlot to IconSlot): the target (folder or document, as the
// target kind says), a context document or the icon file. The path is taken
// only when it lies inside the CD root and its part below the root can be
// written onto the disc; otherwise the slot keeps what it held. Gives true
// when a path was put into the slot.
bool ChooseSlotPath(Project& project, int n, Presenter& presenter, QWidget* owner);

// "&Auswahl ..." of section (4): the icon file, then its picture loaded
// (VerifyIconFile), also after Cancel.
void ChooseIconFile(Project& project, Presenter& presenter, QWidget* owner);

} // namespace velkaro
