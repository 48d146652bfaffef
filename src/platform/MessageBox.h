#pragma once

#include "Messages.h"

namespace velkaro {

// The program's message box: title "Velkaro", the icon and button set asked
// for, and CR (or CR LF) shown as a line break. main() makes one, and every
// message goes to it from then on.
class MessageBox final : public MessagePresenter
{
public:
    MessageAnswer present(const ShownMessage& message) override;
};

} // namespace velkaro
