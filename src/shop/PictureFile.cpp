#include "shop/PictureFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The types taken; namesOf follows their order.
enum class Kind { None, Png, Jpeg, Gif, WebP };

// The type the first bytes announce. SVG is never taken: it is text that
// can carry script into the shop's pages.
Kind contentKind(QByteArrayView bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return Kind::Png;
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return Kind::Jpeg;
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return Kind::Gif;
    if (bytes.size() >= 12 && bytes.startsWith("RIFF") && bytes.sliced(8, 4) == "WEBP")
        return Kind::WebP;
    return Kind::None;
}

// The type the file name's ending names.
Kind nameKind(const QString& path) {
    const QString ending = QFileInfo(path).suffix().toLower();
    if (ending == QLatin1String("png"))
        return Kind::Png;
    if (ending == QLatin1String("jpg") || ending == QLatin1String("jpeg"))
        return Kind::Jpeg;
    if (ending == QLatin1String("gif"))
        return Kind::Gif;
    if (ending == QLatin1String("webp"))
        return Kind::WebP;
    return Kind::None;
}

// What the messages and the site's copy say of a type: its name, the
// endings its files take, and the ending of the copy.
struct TypeNames {
    QLatin1StringView name;
    QLatin1StringView endings;
    QLatin1StringView siteEnding;
};

TypeNames namesOf(Kind kind) {
    static constexpr TypeNames kNames[] = {
        {QLatin1StringView("PNG"), QLatin1StringView("\".png\""), QLatin1StringView("png")},
        {QLatin1StringView("JPEG"), QLatin1StringView("\".jpg\" or \".jpeg\""),
         QLatin1StringView("jpg")},
        {QLatin1StringView("GIF"), QLatin1StringView("\".gif\""), QLatin1StringView("gif")},
        {QLatin1StringView("WebP"), QLatin1StringView("\".webp\""), QLatin1StringView("webp")}};
    return kNames[int(kind) - int(Kind::Png)];
}

// Closes a descriptor when the reading is over, whichever way it ends.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

Expected<QByteArray> failure(const QString& message) {
    return Expected<QByteArray>::failure(message);
}

QString unreadable(const QString& path, int error) {
    return QStringLiteral("The picture file \"%1\" cannot be read: %2.")
        .arg(path, qt_error_string(error));
}

// All `size` bytes of the file, or fewer when it shrank meanwhile.
Expected<QByteArray> readAll(int fd, qint64 size, const QString& path) {
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failure(unreadable(path, errno));
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}

// The file's bytes when it is a plain file of at most kMostBytes. It is
// opened without waiting, since a FIFO would wait for a writer, and its
// type is taken from the opened file, so nothing can be swapped in between.
Expected<QByteArray> plainFileBytes(const QString& path) {
    const Descriptor file{
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    const int openError = errno;
    if (file.fd < 0 && openError == ENOENT)
        return failure(QStringLiteral("The picture file \"%1\" does not exist.").arg(path));
    if (file.fd < 0)
        return failure(unreadable(path, openError));
    struct stat status {};
    if (::fstat(file.fd, &status) != 0)
        return failure(unreadable(path, errno));
    if (!S_ISREG(status.st_mode))
        return failure(QStringLiteral("\"%1\" is not a picture file: it is a folder, a device "
                                      "or a pipe.")
                           .arg(path));
    if (status.st_size > PictureFile::kMostBytes)
        return failure(
            QStringLiteral("The picture file \"%1\" is larger than %2 MB, too large for a shop's "
                           "page.")
                .arg(path, QString::number(PictureFile::kMostBytes / (1024 * 1024))));
    return readAll(file.fd, status.st_size, path);
}

} // namespace

Expected<QByteArray> PictureFile::read(const QString& path) {
    Expected<QByteArray> bytes = plainFileBytes(path);
    if (!bytes)
        return bytes;
    const Kind content = contentKind(*bytes);
    if (content == Kind::None)
        return failure(QStringLiteral("\"%1\" is not a PNG, JPEG, GIF or WebP picture.").arg(path));
    if (nameKind(path) != content)
        return failure(QStringLiteral("\"%1\" holds a %2 picture, so its name must end in %3.")
                           .arg(path, namesOf(content).name, namesOf(content).endings));
    return bytes;
}

QString PictureFile::siteName(const QString& baseName, const QString& path) {
    const Kind kind = nameKind(path);
    if (kind == Kind::None)
        return {};
    return baseName + QLatin1Char('.') + namesOf(kind).siteEnding;
}
