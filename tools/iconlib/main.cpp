// Makes the icon library from its sources: every entry of selection.tsv
// becomes one Windows icon file (NNN.ico) in the output folder, together with
// MANIFEST.tsv. The same sources give the same bytes.

#include "IcoWriter.h"
#include "Palette16.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace velkaro::iconlib;

namespace {

const QStringList ThemeOrder = {"media",    "documents", "folders", "devices",
                                "software", "people",    "nature",  "symbols"};

struct Entry
{
    QString theme;
    QString source; // "tango" or "twemoji"
    QString name;
    QImage image48, image32, image16; // ARGB32, straight alpha
    QString files;                    // where the pictures came from, for the manifest
};

[[noreturn]] void Fail(const QString& text)
{
    std::fprintf(stderr, "iconlib: %s\n", qPrintable(text));
    std::exit(1);
}

QImage RenderSvg(QSvgRenderer& renderer, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage LoadPng(const QString& path, int size)
{
    QImage image(path);
    if (image.isNull())
        Fail(QStringLiteral("cannot read %1").arg(path));
    if (image.width() != size || image.height() != size)
        Fail(QStringLiteral("%1 is %2 x %3, not %4 x %4")
                 .arg(path)
                 .arg(image.width())
                 .arg(image.height())
                 .arg(size));
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Tango draws its 16 and 32 pixel pictures by hand; only the 48 pixel one is
// rendered from the drawing, whose canvas is 48 x 48.
void LoadTango(Entry& entry, const QString& root)
{
    const QString svg = QStringLiteral("scalable/%1.svg").arg(entry.name);
    const QString png32 = QStringLiteral("32x32/%1.png").arg(entry.name);
    const QString png16 = QStringLiteral("16x16/%1.png").arg(entry.name);
    QSvgRenderer renderer(root + "/" + svg);
    if (!renderer.isValid())
        Fail(QStringLiteral("cannot render %1/%2").arg(root, svg));
    entry.image48 = RenderSvg(renderer, 48);
    entry.image32 = LoadPng(root + "/" + png32, 32);
    entry.image16 = LoadPng(root + "/" + png16, 16);
    entry.files = QStringLiteral("%1, %2, %3").arg(svg, png32, png16);
}

// An icon of the set is an SVG body with the set's view box, unless the
// icon names its own (a few are not square: they are centred, not stretched).
void LoadTwemoji(Entry& entry, const QJsonObject& iconSet)
{
    const QJsonValue icon = iconSet.value("icons").toObject().value(entry.name);
    if (!icon.isObject())
        Fail(QStringLiteral("twemoji has no icon named %1").arg(entry.name));
    const QJsonObject data = icon.toObject();
    auto number = [&](const char* key, double fallback) {
        return data.value(key).toDouble(iconSet.value(key).toDouble(fallback));
    };
    const QByteArray svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                          "viewBox=\"%1 %2 %3 %4\">%5</svg>")
                               .arg(number("left", 0))
                               .arg(number("top", 0))
                               .arg(number("width", 16))
                               .arg(number("height", 16))
                               .arg(data.value("body").toString())
                               .toUtf8();
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        Fail(QStringLiteral("cannot render twemoji %1").arg(entry.name));
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    entry.image48 = RenderSvg(renderer, 48);
    entry.image32 = RenderSvg(renderer, 32);
    entry.image16 = RenderSvg(renderer, 16);
    entry.files = QStringLiteral("icons.json: %1").arg(entry.name);
}

std::vector<Entry> ReadSelection(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        Fail(QStringLiteral("cannot read %1").arg(path));
    std::vector<Entry> entries;
    QTextStream in(&file);
    int lineNumber = 0;
    int lastTheme = 0;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNumber;
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        const QStringList fields = line.split('\t');
        if (fields.size() != 3)
            Fail(QStringLiteral("%1:%2: want theme, source and name").arg(path).arg(lineNumber));
        const int theme = static_cast<int>(ThemeOrder.indexOf(fields[0]));
        if (theme < 0)
            Fail(
                QStringLiteral("%1:%2: unknown theme %3").arg(path).arg(lineNumber).arg(fields[0]));
        if (theme < lastTheme)
            Fail(QStringLiteral("%1:%2: theme %3 out of order")
                     .arg(path)
                     .arg(lineNumber)
                     .arg(fields[0]));
        lastTheme = theme;
        if (fields[1] != "tango" && fields[1] != "twemoji")
            Fail(QStringLiteral("%1:%2: unknown source %3")
                     .arg(path)
                     .arg(lineNumber)
                     .arg(fields[1]));
        entries.push_back(Entry{fields[0], fields[1], fields[2], {}, {}, {}, {}});
    }
    return entries;
}

// A small, premultiplied version of a picture, so that pictures that differ
// only in size or in a few edge pixels come out alike.
std::vector<int> Fingerprint(const QImage& image)
{
    const QImage small = image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                             .scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    std::vector<int> values;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QRgb c = small.pixel(x, y);
            values.insert(values.end(), {qRed(c), qGreen(c), qBlue(c), qAlpha(c)});
        }
    return values;
}

std::vector<int> Mirrored(const std::vector<int>& print, bool horizontal)
{
    std::vector<int> out(print.size());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const int sx = horizontal ? 15 - x : x;
            const int sy = horizontal ? y : 15 - y;
            for (int c = 0; c < 4; ++c)
                out[static_cast<size_t>((y * 16 + x) * 4 + c)] =
                    print[static_cast<size_t>((sy * 16 + sx) * 4 + c)];
        }
    return out;
}

double Distance(const std::vector<int>& a, const std::vector<int>& b)
{
    long sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::abs(a[i] - b[i]);
    return static_cast<double>(sum) / static_cast<double>(a.size());
}

struct Pair
{
    double distance;
    size_t first, second;
    const char* how;
};

// Every pair of entries with its smallest distance, as it is, mirrored left
// to right or turned upside down.
std::vector<Pair> ClosestPairs(const std::vector<Entry>& entries)
{
    std::vector<std::vector<int>> prints, flippedH, flippedV;
    for (const Entry& entry : entries) {
        prints.push_back(Fingerprint(entry.image32));
        flippedH.push_back(Mirrored(prints.back(), true));
        flippedV.push_back(Mirrored(prints.back(), false));
    }
    std::vector<Pair> pairs;
    for (size_t i = 0; i < entries.size(); ++i)
        for (size_t j = i + 1; j < entries.size(); ++j) {
            Pair pair{Distance(prints[i], prints[j]), i, j, "same"};
            const double h = Distance(prints[i], flippedH[j]);
            const double v = Distance(prints[i], flippedV[j]);
            if (h < pair.distance)
                pair = {h, i, j, "mirrored"};
            if (v < pair.distance)
                pair = {v, i, j, "upside down"};
            pairs.push_back(pair);
        }
    std::sort(pairs.begin(), pairs.end(),
              [](const Pair& a, const Pair& b) { return a.distance < b.distance; });
    return pairs;
}

QString Number(size_t index)
{
    return QStringLiteral("%1").arg(index + 1, 3, 10, QLatin1Char('0'));
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        Fail(QStringLiteral("cannot write %1").arg(path));
}

// A grid of pictures at their real size with their numbers, on the grey of
// a classic dialog, to look at them as the user will.
QImage ContactSheet(const std::vector<QImage>& pictures, int cell, int columns)
{
    const int rows = static_cast<int>((pictures.size() + static_cast<size_t>(columns) - 1) /
                                      static_cast<size_t>(columns));
    const int cellHeight = cell + 14;
    QImage sheet(columns * cell, rows * cellHeight, QImage::Format_ARGB32);
    sheet.fill(QColor(0xD4, 0xD0, 0xC8));
    QPainter painter(&sheet);
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int x = static_cast<int>(i % static_cast<size_t>(columns)) * cell;
        const int y = static_cast<int>(i / static_cast<size_t>(columns)) * cellHeight;
        const QImage& p = pictures[i];
        painter.drawImage(x + (cell - p.width()) / 2, y + 2, p);
        painter.drawText(QRect(x, y + cell, cell, 13), Qt::AlignCenter, QString::number(i + 1));
    }
    return sheet;
}

struct Settings
{
    Reduction method;
    double penalty32, penalty16;
    int step;
};

// Rows of sample pictures: the 32-bit original, then each reduction to the
// 16 colours, at 100 % on a light and on a dark ground.
QImage ComparisonSheet(const std::vector<Entry>& entries, const std::vector<size_t>& sample,
                       bool small, const Settings& settings)
{
    std::vector<Reducer> reducers;
    for (Reduction method : AllReductions)
        reducers.emplace_back(method, small ? settings.penalty16 : settings.penalty32,
                              settings.step);
    const int cell = small ? 20 : 36;
    const int columns = static_cast<int>(1 + reducers.size());
    QImage sheet(columns * cell * 2 + 8, static_cast<int>(sample.size()) * cell,
                 QImage::Format_ARGB32);
    sheet.fill(QColor(0xD4, 0xD0, 0xC8));
    QPainter painter(&sheet);
    painter.fillRect(columns * cell + 8, 0, columns * cell, sheet.height(),
                     QColor(0x00, 0x40, 0x80));
    for (size_t row = 0; row < sample.size(); ++row) {
        const QImage& original =
            small ? entries[sample[row]].image16 : entries[sample[row]].image32;
        std::vector<QImage> shown = {original};
        for (Reducer& reducer : reducers)
            shown.push_back(ToArgb(reducer.reduce(original)));
        for (int ground = 0; ground < 2; ++ground)
            for (int c = 0; c < columns; ++c)
                painter.drawImage(ground * (columns * cell + 8) + c * cell + 2,
                                  static_cast<int>(row) * cell + 2, shown[static_cast<size_t>(c)]);
    }
    return sheet;
}

void SavePng(const QImage& image, const QString& path)
{
    if (!image.save(path, "PNG"))
        Fail(QStringLiteral("cannot write %1").arg(path));
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv); // fonts for the contact sheets
    QCommandLineParser parser;
    parser.setApplicationDescription("Makes Velkaro's icon library from its sources.");
    parser.addHelpOption();
    parser.addOption({"tango", "Tango icon theme folder.", "dir", "/usr/share/icons/Tango"});
    parser.addOption({"twemoji", "Unpacked @iconify-json/twemoji package folder.", "dir"});
    parser.addOption({"selection", "The ordered list of pictures.", "file"});
    parser.addOption({"out", "Folder for NNN.ico and MANIFEST.tsv.", "dir"});
    parser.addOption({"sheets", "Also write contact and comparison sheets here.", "dir"});
    parser.addOption({"count", "Number of pictures the library must have.", "n", "511"});
    parser.addOption(
        {"min-distance", "Smallest distance allowed between two pictures.", "d", "3.5"});
    parser.addOption(
        {"reduction", "nearest, ordered, floyd-steinberg or pattern.", "method", "pattern"});
    parser.addOption(
        {"mix-penalty-32", "Cost of a pattern of two far-apart colours, 32 px.", "k", "0.1"});
    parser.addOption({"mix-penalty-16", "The same for the 16 px pictures.", "k", "0.35"});
    parser.addOption({"mix-step", "Step of the patterns in sixteenths.", "n", "4"});
    parser.process(app);

    for (const char* required : {"twemoji", "selection", "out"})
        if (!parser.isSet(required))
            Fail(QStringLiteral("--%1 is needed (see --help)").arg(required));

    std::optional<Reduction> reduction;
    for (Reduction r : AllReductions)
        if (parser.value("reduction") == ReductionName(r))
            reduction = r;
    if (!reduction)
        Fail("unknown --reduction");
    const Settings settings{*reduction, parser.value("mix-penalty-32").toDouble(),
                            parser.value("mix-penalty-16").toDouble(),
                            parser.value("mix-step").toInt()};
    Reducer reducer32(settings.method, settings.penalty32, settings.step);
    Reducer reducer16(settings.method, settings.penalty16, settings.step);

    const QString twemojiDir = parser.value("twemoji");
    QFile iconsFile(twemojiDir + "/icons.json");
    if (!iconsFile.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot read %1").arg(iconsFile.fileName()));
    const QJsonObject iconSet = QJsonDocument::fromJson(iconsFile.readAll()).object();
    QFile packageFile(twemojiDir + "/package.json");
    if (!packageFile.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot read %1").arg(packageFile.fileName()));
    const QString twemojiVersion =
        QJsonDocument::fromJson(packageFile.readAll()).object().value("version").toString();

    std::vector<Entry> entries = ReadSelection(parser.value("selection"));
    const size_t wanted = parser.value("count").toUInt();
    for (Entry& entry : entries) {
        if (entry.source == "tango")
            LoadTango(entry, parser.value("tango"));
        else
            LoadTwemoji(entry, iconSet);
    }

    // Duplicates and near-duplicates: the closest pairs are shown for review;
    // any pair closer than the limit stops the run.
    const std::vector<Pair> pairs = ClosestPairs(entries);
    const double limit = parser.value("min-distance").toDouble();
    bool tooClose = false;
    std::fprintf(stderr, "closest pairs:\n");
    for (size_t i = 0; i < pairs.size() && (i < 25 || pairs[i].distance < limit); ++i) {
        const Pair& p = pairs[i];
        std::fprintf(stderr, "  %6.2f %s %s/%s ~ %s/%s (%s)\n", p.distance,
                     p.distance < limit ? "TOO CLOSE" : "         ",
                     qPrintable(entries[p.first].source), qPrintable(entries[p.first].name),
                     qPrintable(entries[p.second].source), qPrintable(entries[p.second].name),
                     p.how);
        tooClose = tooClose || p.distance < limit;
    }

    const QString sheets = parser.value("sheets");
    std::vector<QImage> full, large, reduced32, reduced16;
    for (const Entry& entry : entries) {
        full.push_back(entry.image32);
        large.push_back(entry.image48);
        reduced32.push_back(ToArgb(reducer32.reduce(entry.image32)));
        reduced16.push_back(ToArgb(reducer16.reduce(entry.image16)));
    }
    if (!sheets.isEmpty()) {
        QDir().mkpath(sheets);
        SavePng(ContactSheet(full, 40, 24), sheets + "/contact-32bit.png");
        SavePng(ContactSheet(large, 52, 24), sheets + "/contact-32bit-48px.png");
        SavePng(ContactSheet(reduced32, 40, 24), sheets + "/contact-16colours.png");
        SavePng(ContactSheet(reduced16, 24, 32), sheets + "/contact-16colours-16px.png");
        std::vector<size_t> sample;
        for (size_t i = 0; i < entries.size(); i += std::max<size_t>(1, entries.size() / 24))
            sample.push_back(i);
        SavePng(ComparisonSheet(entries, sample, false, settings), sheets + "/compare-32.png");
        SavePng(ComparisonSheet(entries, sample, true, settings), sheets + "/compare-16.png");
    }

    if (tooClose)
        Fail("some pictures are too much alike; change the selection");
    if (entries.size() != wanted)
        Fail(QStringLiteral("the selection has %1 pictures, not %2")
                 .arg(entries.size())
                 .arg(wanted));

    const QString out = parser.value("out");
    QDir().mkpath(out);
    QByteArray manifest = "# number\ttheme\tsource\tfiles\tlicence\n";
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        const std::vector<IcoImage> images = {
            reducer32.reduce(e.image32),
            reducer16.reduce(e.image16),
            e.image32,
            e.image48,
        };
        WriteFile(QStringLiteral("%1/%2.ico").arg(out, Number(i)), WriteIco(images));
        const bool tango = e.source == "tango";
        manifest +=
            QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                .arg(Number(i), e.theme,
                     tango
                         ? QStringLiteral("Tango icon theme")
                         : QStringLiteral("Twemoji (@iconify-json/twemoji %1)").arg(twemojiVersion),
                     e.files, tango ? QStringLiteral("public domain") : QStringLiteral("CC-BY-4.0"))
                .toUtf8();
    }
    WriteFile(out + "/MANIFEST.tsv", manifest);
    std::fprintf(stderr, "wrote %zu icons to %s\n", entries.size(), qPrintable(out));
    return 0;
}
