#include "IconChoice.h"

#include "IconLibrary.h"
#include "Project.h"

namespace velkaro {

void ApplyLibraryIcon(Project& project, int n)
{
    if (n == 0)
        return;
    const IconLibrary& library = IconLibrary::instance();
    if (n < 1 || n > library.count())
        return;
    project.setIconSlot(IconSource::Library);
    project.setIcon(IconPicture{library.picture(n), library.fileBytes(n)});
}

} // namespace velkaro
