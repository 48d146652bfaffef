// The icon file is whatever the user picks inside the CD root: any bytes,
// named like an icon or not. Loading it gives a picture together with the
// file's own bytes, which the OK command copies unchanged, or the message
// that it is not valid, and it never changes the file.
//
// Input: the file's bytes.

#include "FuzzSupport.h"
#include "IconFile.h"
#include "Project.h"
#include "ScriptedMessages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace velkaro;
using namespace velkaro::fuzzing;

namespace {

const QString ExpectedInvalidIconText = QStringLiteral(
    "Die angegebene Icon-Datei ist anscheinend nicht gültig.\rSie konnte nicht geladen "
    "werden.\r\rBitte wählen Sie daher ein neues Icon.");

// The folder, the file and the project that every input shares. The
// application comes first: the project's pictures need it.
struct Scene
{
    bool applicationReady = (EnsureApplication(), true);
    test::ScriptedMessages messages;
    QTemporaryDir dir;
    QString path = QDir::toNativeSeparators(dir.filePath(QStringLiteral("Symbol.ico")));
    Project project;
};

Scene& TheScene()
{
    static Scene scene;
    FUZZ_CHECK(scene.dir.isValid());
    return scene;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Scene& scene = TheScene();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(scene.path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }

    const std::optional<IconPicture> picture = LoadIconFile(scene.path);
    if (picture) {
        FUZZ_CHECK(picture->fileBytes == bytes);
        FUZZ_CHECK(!picture->image.isNull());
        FUZZ_CHECK(picture->image.width() > 0 && picture->image.height() > 0);
    }

    // The command around it: the slot names the file, the check decides.
    scene.project.setSlot(Project::IconSlot, scene.path);
    scene.messages.takeShown();
    VerifyIconFile(scene.project);
    const QList<ShownMessage> shown = scene.messages.takeShown();
    if (picture) {
        FUZZ_CHECK(shown.isEmpty());
        FUZZ_CHECK(scene.project.iconSource() == IconSource::OwnFile);
        FUZZ_CHECK(scene.project.slot(Project::IconSlot) == scene.path);
        FUZZ_CHECK(scene.project.icon().fileBytes == bytes);
    } else {
        FUZZ_CHECK(shown.size() == 1);
        FUZZ_CHECK(shown.at(0).text == ExpectedInvalidIconText);
        FUZZ_CHECK(shown.at(0).icon == MessageIcon::Error);
        FUZZ_CHECK(shown.at(0).buttons == MessageButtons::Ok);
        FUZZ_CHECK(scene.project.iconSource() == IconSource::None);
        FUZZ_CHECK(scene.project.icon().fileBytes.isEmpty());
    }
    // Reading is all it does to the user's file.
    FUZZ_CHECK(FileBytes(scene.path) == bytes);
    return 0;
}
