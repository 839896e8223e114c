#include "windows/Clipboard.h"

#include "model/Error.h"
#include "windows/Application.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace kvt::windows {

namespace {

// The seven formats in their fixed order.
constexpr std::array<const char *, ClipboardStore::kFormats> kMimeTypes = {
    "image/png",   // bitmap
    "image/bmp",   // device-independent bitmap
    "",            // DDE link information: no counterpart
    "image/x-wmf", // metafile picture
    "",            // colour palette: no counterpart
    "text/rtf",    // rich text
    "text/plain",  // plain text
};
constexpr std::size_t kBitmap = 0;
constexpr std::size_t kDib = 1;
constexpr std::size_t kMetafile = 3;

// Qt's own image, what QClipboard::setImage puts and QClipboard::image reads. Qt's platform
// code also shows it for any image another program offers, and offers PNG and the other image
// types to other programs for it: it stands for the bitmap.
const QString kQtImage = QStringLiteral("application/x-qt-image");

QClipboard &clipboard() {
    ensureApplication();
    return *QGuiApplication::clipboard();
}

bool inTable(const QString &mime) {
    return mime == kQtImage
           || std::any_of(kMimeTypes.begin(), kMimeTypes.end(),
                          [&](const char *type) { return *type && mime == QLatin1String(type); });
}

// X11 lists selection targets such as TARGETS or TIMESTAMP among the formats; only MIME types
// are data.
bool isMimeType(const QString &format) {
    return format.contains(u'/');
}

std::string toStd(const QByteArray &bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

QByteArray toBytes(const std::string &text) {
    return {text.data(), static_cast<qsizetype>(text.size())};
}

QByteArray pngBytes(const QImage &image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

bool holds(const QMimeData &data, std::size_t format) {
    const char *mime = kMimeTypes[format];
    return *mime && (data.hasFormat(QLatin1String(mime)) || (format == kBitmap && data.hasImage()));
}

QByteArray read(const QMimeData &data, std::size_t format) {
    const QLatin1String mime(kMimeTypes[format]);
    if (format == kBitmap && !data.hasFormat(mime))
        return pngBytes(qvariant_cast<QImage>(data.imageData()));
    return data.data(mime);
}

// Formats to put on the clipboard over what it holds.
class Additions {
public:
    void add(std::size_t format, const QByteArray &bytes) {
        add(QLatin1String(kMimeTypes[format]), bytes);
        // Readers in this process ask Qt for its own image.
        if (format == kBitmap)
            if (QImage decoded = QImage::fromData(bytes, "PNG"); !decoded.isNull())
                mImage = std::move(decoded);
    }
    void add(const QString &mime, const QByteArray &bytes) { mFormats.emplace_back(mime, bytes); }
    bool empty() const { return mFormats.empty(); }

    // QClipboard replaces its whole content, so the merge happens here: every format the
    // clipboard holds is copied unless an addition replaces it.
    void putOnClipboard() const {
        auto merged = std::make_unique<QMimeData>();
        if (const QMimeData *now = clipboard().mimeData()) {
            for (const QString &mime : now->formats()) {
                if (!isMimeType(mime) || replaces(mime))
                    continue;
                if (mime == kQtImage)
                    merged->setImageData(now->imageData());
                else
                    merged->setData(mime, now->data(mime));
            }
        }
        for (const auto &[mime, bytes] : mFormats)
            merged->setData(mime, bytes);
        if (mImage)
            merged->setImageData(*mImage);
        clipboard().setMimeData(merged.release());
    }

private:
    bool replaces(const QString &mime) const {
        return (mime == kQtImage && mImage)
               || std::any_of(mFormats.begin(), mFormats.end(),
                              [&](const auto &format) { return format.first == mime; });
    }

    std::vector<std::pair<QString, QByteArray>> mFormats;
    std::optional<QImage> mImage;
};

std::size_t tableFormat(PictureFormat format) {
    switch (format) {
    case PictureFormat::Bitmap:
        return kBitmap;
    case PictureFormat::Dib:
        return kDib;
    case PictureFormat::Metafile:
        break;
    }
    return kMetafile;
}

void requireImage(const QByteArray &bytes, const char *type) {
    if (QImage::fromData(bytes, type).isNull())
        throw Error(err::InvalidArgument, std::string("ClipboardSetData: the picture's data is not "
                                                      "a ")
                                              + type + " image.");
}

} // namespace

void ClipboardClear() {
    clipboard().clear();
}

void ClipboardSetData(const Picture &picture) {
    if (picture.bytes.empty())
        throw Error(err::InvalidArgument, "ClipboardSetData: the picture has no data.");
    const QByteArray bytes = toBytes(picture.bytes);
    if (picture.format == PictureFormat::Bitmap)
        requireImage(bytes, "PNG");
    else if (picture.format == PictureFormat::Dib)
        requireImage(bytes, "BMP");
    Additions additions;
    additions.add(tableFormat(picture.format), bytes);
    additions.putOnClipboard();
}

Picture ClipboardGetData() {
    const QMimeData *data = clipboard().mimeData();
    if (!data)
        return {};
    for (PictureFormat format :
         {PictureFormat::Bitmap, PictureFormat::Metafile, PictureFormat::Dib}) {
        if (holds(*data, tableFormat(format)))
            return {format, toStd(read(*data, tableFormat(format)))};
    }
    return {};
}

void ClipboardSave(ClipboardStore &store) {
    const QMimeData *data = clipboard().mimeData();
    for (std::size_t format = 0; format < ClipboardStore::kFormats; ++format)
        store.present[format] = data && holds(*data, format);
    for (std::size_t format = 0; format < ClipboardStore::kFormats; ++format)
        store.saved[format] = store.present[format] ? toStd(read(*data, format)) : std::string();
    store.others.clear();
    if (!data)
        return;
    for (const QString &mime : data->formats()) {
        if (isMimeType(mime) && !inTable(mime))
            store.others.emplace_back(mime.toStdString(), toStd(data->data(mime)));
    }
}

void ClipboardRestore(ClipboardStore &store) {
    Additions additions;
    for (std::size_t format = 0; format < ClipboardStore::kFormats; ++format) {
        if (store.present[format] && !store.saved[format].empty())
            additions.add(format, toBytes(store.saved[format]));
    }
    for (const auto &[mime, bytes] : store.others)
        additions.add(QString::fromStdString(mime), toBytes(bytes));
    if (!additions.empty())
        additions.putOnClipboard();
    store.saved.fill({});
    store.others.clear();
}

} // namespace kvt::windows
