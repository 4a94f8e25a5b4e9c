// Writes the web edition: the page, its stylesheet and script, the service
// worker, the manifest and the pictures, from the catalogue, the layout table
// and the pictures' data the desktop reads, and the hand-written parts beside
// this file.
//
//     makeweb SOURCE_DIR OUTPUT_DIR VERSION

#include "catalogue.h"
#include "page.h"
#include "picture.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

// The whole folder, pictures included, fits a school's slowest link at once.
constexpr qint64 folderLimit = 64 * 1024;

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "makeweb: cannot read %s\n", qPrintable(path));
        std::exit(1);
    }
    return file.readAll();
}

// A picture as the desktop draws it, each pixel `zoom` times over (nearest
// neighbour, for the icons).
QImage zoomed(Picture::Name name, int zoom)
{
    const QImage image = Picture::image(name);
    return image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The hand-written parts as the browser needs them: without their comments
// and indentation, which are for the developer and would take a tenth of the
// folder. Only whole comment lines go: a comment after code stays, harmless.
QByteArray compact(const QByteArray &text)
{
    QByteArray out;
    bool inComment = false;
    for (const QByteArray &line : text.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith("/*"))
            inComment = true;
        const bool comment = inComment || trimmed.startsWith("//") || trimmed.isEmpty();
        if (trimmed.endsWith("*/"))
            inComment = false;
        if (!comment)
            out += trimmed + '\n';
    }
    return out;
}

class Folder
{
public:
    explicit Folder(const QString &path) : m_dir(path) {}

    void write(const QString &name, const QByteArray &contents)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()) {
            std::fprintf(stderr, "makeweb: cannot write %s\n", qPrintable(file.fileName()));
            std::exit(1);
        }
        m_names << name;
        m_hash.addData(contents);
        m_size += contents.size();
    }

    void write(const QString &name, const QImage &image)
    {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG", 0); // 0: smallest
        write(name, png);
    }

    const QStringList &names() const { return m_names; }
    QByteArray hash() const { return m_hash.result().toHex().left(8); }
    qint64 size() const { return m_size; }

private:
    QDir m_dir;
    QStringList m_names;
    QCryptographicHash m_hash{ QCryptographicHash::Sha256 };
    qint64 m_size = 0;
};

// What a search engine or a list of links says of the page.
QString description()
{
    return QStringLiteral("%1の内容項目（旧と教科化後）の言葉を、ボタンを押すだけでコピーします。")
            .arg(Catalogue::subjectTitle());
}

QByteArray manifest()
{
    QJsonArray icons;
    for (const int size : { 32, 192, 512 }) {
        icons.append(QJsonObject{ { "src", QStringLiteral("icon%1.png").arg(size) },
                                  { "sizes", QStringLiteral("%1x%1").arg(size) },
                                  { "type", QStringLiteral("image/png") } });
    }
    const QJsonObject object{
        { "name", Catalogue::windowTitle() },
        { "short_name", Catalogue::windowTitle() },
        { "description", description() },
        { "lang", QStringLiteral("ja") },
        { "start_url", QStringLiteral("index.html") },
        { "scope", QStringLiteral("./") },
        { "display", QStringLiteral("standalone") },
        { "background_color", QStringLiteral("#efefef") },
        { "theme_color", QStringLiteral("#efefef") },
        { "icons", icons },
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: makeweb SOURCE_DIR OUTPUT_DIR VERSION\n");
        return 2;
    }
    const QDir source(QString::fromLocal8Bit(argv[1]));
    const QString output = QString::fromLocal8Bit(argv[2]);
    const QString version = QString::fromLocal8Bit(argv[3]);
    // Nothing left over from an earlier build: the service worker lists
    // exactly what is there. Only files are removed, and only there.
    if (!QDir().mkpath(output)) {
        std::fprintf(stderr, "makeweb: cannot make %s\n", qPrintable(output));
        return 1;
    }
    for (const QFileInfo &file : QDir(output).entryInfoList(QDir::Files | QDir::Hidden))
        QFile::remove(file.filePath());
    Folder folder(output);

    QByteArray page = readFile(source.filePath("index.html"));
    page.replace("@VERSION@", version.toUtf8())
            .replace("@TITLE@", Catalogue::windowTitle().toHtmlEscaped().toUtf8())
            .replace("@DESCRIPTION@", description().toHtmlEscaped().toUtf8())
            .replace("@FORM@", Page::form().toUtf8())
            .replace("@KEEPONTOP@", Catalogue::keepOnTopCaption().toHtmlEscaped().toUtf8());
    folder.write("index.html", page);
    folder.write("sorelin.css", compact(readFile(source.filePath("page.css"))) + Page::placeRules().toUtf8());
    folder.write("sorelin.js", "'use strict';\n" + Page::scriptData().toUtf8() + compact(readFile(source.filePath("sorelin.js"))));
    folder.write("manifest.webmanifest", manifest());
    folder.write("tab0.png", Picture::image(Picture::Tab0));
    folder.write("tab1.png", Picture::image(Picture::Tab1));
    folder.write("image1.png", Picture::image(Picture::Image1));
    folder.write("icon32.png", Picture::image(Picture::Icon));
    folder.write("icon192.png", zoomed(Picture::Icon, 6));
    folder.write("icon512.png", zoomed(Picture::Icon, 16));

    // The service worker keeps every file, itself included, under a name that
    // changes with any of them, so that a new edition replaces the old one.
    QStringList files = folder.names();
    files << QStringLiteral("sw.js");
    QByteArray worker = compact(readFile(source.filePath("sw.js")));
    worker.replace("@CACHE@", "sorelin-" + version.toUtf8() + '-' + folder.hash())
            .replace("@FILES@", '"' + files.join(QStringLiteral("\",\"")).toUtf8() + '"');
    folder.write("sw.js", worker);

    std::printf("Web edition: %lld bytes in %d files in %s (at most %lld)\n", folder.size(),
                int(folder.names().size()), qPrintable(output), folderLimit);
    if (folder.size() > folderLimit) {
        std::fprintf(stderr, "makeweb: the web edition is larger than %lld bytes\n", folderLimit);
        return 1;
    }
    return 0;
}
