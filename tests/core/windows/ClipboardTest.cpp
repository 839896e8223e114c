#include "WindowTesting.h"
#include "core/facade/FacadeFixture.h"
#include "support/ErrorMatchers.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <functional>
#include <utility>
#include <vector>

namespace kvt {
namespace {

const auto *const kApplication = testing::AddGlobalTestEnvironment(new test::WindowApplication);

using Formats = std::vector<std::pair<const char *, std::string>>; // MIME type, bytes

QClipboard &systemClipboard() {
    return *QApplication::clipboard();
}

// Two pixels, red then blue: enough to tell a picture from another and its channels apart.
QImage redBlue() {
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, 0xFFFF0000u);
    image.setPixel(1, 0, 0xFF0000FFu);
    return image;
}

std::string encoded(const char *type) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    redBlue().save(&buffer, type);
    return bytes.toStdString();
}

const std::string kPng = encoded("PNG");
const std::string kBmp = encoded("BMP");

// "redBlue" for the two pixels, else the bytes themselves.
std::string shown(const QImage &image, const std::string &bytes) {
    return !image.isNull() && image.size() == QSize(2, 1) && image.pixel(0, 0) == 0xFFFF0000u
                   && image.pixel(1, 0) == 0xFF0000FFu
               ? "redBlue"
               : bytes;
}

// What the clipboard holds, format by format: "type=data; ...", Qt's own image as "image".
std::string clipboardContent() {
    const QMimeData *data = systemClipboard().mimeData();
    QStringList content;
    for (const QString &mime : data ? data->formats() : QStringList()) {
        const std::string bytes = data->data(mime).toStdString();
        if (mime == "application/x-qt-image")
            content << "image=" + QString::fromStdString(shown(systemClipboard().image(), ""));
        else
            content << mime + "="
                           + QString::fromStdString(
                               shown(QImage::fromData(QByteArray::fromStdString(bytes)), bytes));
    }
    return content.join("; ").toStdString();
}

// What a user or another program left on the clipboard.
void putFormats(const Formats &formats, bool withImage = false) {
    auto *data = new QMimeData;
    for (const auto &[mime, bytes] : formats)
        data->setData(mime, QByteArray::fromStdString(bytes));
    if (withImage)
        data->setImageData(redBlue());
    systemClipboard().setMimeData(data);
}

class Clipboard : public test::FacadeFixture {
protected:
    void SetUp() override {
        FacadeFixture::SetUp();
        startAfresh();
    }
    void TearDown() override {
        facade.reset();
        FacadeFixture::TearDown();
    }
    // An empty clipboard and a facade that saved nothing yet: each row of a table starts so.
    void startAfresh() {
        systemClipboard().clear();
        facade.reset();
        facade = std::make_unique<KVTMain>();
    }
    // The presence flags in table order: bitmap, DIB, link, metafile, palette, RTF, text.
    std::string flags() const {
        std::string present;
        for (bool flag : facade->clipboardStore().present)
            present += flag ? '1' : '0';
        return present;
    }
    std::unique_ptr<KVTMain> facade;
};

struct RoundTrip {
    const char *name;
    Formats user;
    bool userImage;
    const char *present;
    const char *others;   // saved besides the seven
    const char *hostText; // copied by the host between the clear and the restore
    const char *restored;
};

const RoundTrip kRoundTrips[] = {
    {"plainText",
     {{"text/plain", "1 EUR = 40.3399 BEF"}},
     false,
     "0000001",
     "",
     nullptr,
     "text/plain=1 EUR = 40.3399 BEF"},
    {"richText",
     {{"text/rtf", R"({\rtf1 \b 1\b0})"}, {"text/plain", "1"}},
     false,
     "0000011",
     "",
     nullptr,
     R"(text/rtf={\rtf1 \b 1\b0}; text/plain=1)"},
    // The host's text stays beside the picture put back: the clipboard is not emptied first.
    {"imageBesideTheHostsText",
     {},
     true,
     "1000000",
     "",
     "host",
     "text/plain=host; image/png=redBlue; image=redBlue"},
    {"dibAndMetafile",
     {{"image/bmp", kBmp}, {"image/x-wmf", "wmf"}},
     false,
     "0101000",
     "",
     nullptr,
     "image/bmp=redBlue; image/x-wmf=wmf"},
    // A browser's HTML and its other formats come back too; the saved text replaces the host's.
    {"htmlFromABrowser",
     {{"text/html", "<b>4</b>"}, {"text/plain", "4"}, {"text/x-moz-url", "u"}},
     false,
     "0000001",
     "text/html text/x-moz-url",
     "host",
     "text/plain=4; text/html=<b>4</b>; text/x-moz-url=u"},
    {"emptyClipboardRestoresNothing", {}, false, "0000000", "", "host", "text/plain=host"},
};

TEST_F(Clipboard, restoreGivesTheSavedClipboardBackBesideTheHostsData) {
    for (const RoundTrip &row : kRoundTrips) {
        SCOPED_TRACE(row.name);
        startAfresh();
        putFormats(row.user, row.userImage);

        facade->ClipboardSave();
        EXPECT_EQ(flags(), row.present);
        std::string others;
        for (const auto &[mime, bytes] : facade->clipboardStore().others)
            others += (others.empty() ? "" : " ") + mime;
        EXPECT_EQ(others, row.others);
        facade->ClipboardClear();
        EXPECT_EQ(clipboardContent(), "");
        if (row.hostText)
            systemClipboard().setText(row.hostText);
        facade->ClipboardRestore();

        EXPECT_EQ(clipboardContent(), row.restored);
        EXPECT_EQ(flags(), row.present) << "the flags are kept";
        for (const std::string &saved : facade->clipboardStore().saved)
            EXPECT_EQ(saved, "");
        EXPECT_TRUE(facade->clipboardStore().others.empty());
    }
}

TEST_F(Clipboard, secondRestoreWithoutSaveLeavesTheHostsClipboardAlone) {
    putFormats({{"text/plain", "saved"}, {"text/html", "<i>saved</i>"}});
    facade->ClipboardSave();
    facade->ClipboardRestore();
    putFormats({{"text/plain", "host"}});

    facade->ClipboardRestore();

    EXPECT_EQ(clipboardContent(), "text/plain=host");
    EXPECT_EQ(flags(), "0000001");
}

const char *formatName(PictureFormat format) {
    static const char *const names[] = {"bitmap", "dib", "metafile"};
    return names[static_cast<int>(format)];
}

struct PictureCase {
    const char *name;
    std::vector<Picture> set; // in this order, over the text "kept"
    bool userImage;           // an image another widget copied, with the text
    const char *got;          // what ClipboardGetData gives
};

const PictureCase kPictures[] = {
    {"bitmap", {{PictureFormat::Bitmap, kPng}}, false, "bitmap=redBlue"},
    {"dib", {{PictureFormat::Dib, kBmp}}, false, "dib=redBlue"},
    {"metafile", {{PictureFormat::Metafile, "wmf"}}, false, "metafile=wmf"},
    {"imageCopiedByAnotherWidget", {}, true, "bitmap=redBlue"},
    {"bitmapFirst",
     {{PictureFormat::Metafile, "wmf"}, {PictureFormat::Dib, kBmp}, {PictureFormat::Bitmap, kPng}},
     false,
     "bitmap=redBlue"},
    {"metafileBeforeDib",
     {{PictureFormat::Dib, kBmp}, {PictureFormat::Metafile, "wmf"}},
     false,
     "metafile=wmf"},
    {"noPicture", {}, false, "bitmap="},
};

TEST_F(Clipboard, getDataGivesThePictureInTheFirstFormatAvailable) {
    for (const PictureCase &row : kPictures) {
        SCOPED_TRACE(row.name);
        startAfresh();
        putFormats({{"text/plain", "kept"}}, row.userImage);
        for (const Picture &picture : row.set)
            facade->ClipboardSetData(picture);

        const Picture got = facade->ClipboardGetData();

        const QImage decoded = QImage::fromData(QByteArray::fromStdString(got.bytes));
        EXPECT_EQ(std::string(formatName(got.format)) + "=" + shown(decoded, got.bytes), row.got);
        EXPECT_THAT(clipboardContent(), testing::StartsWith("text/plain=kept")) << "others stay";
        if (row.got == std::string("bitmap=redBlue")) {
            EXPECT_EQ(shown(systemClipboard().image(), ""), "redBlue") << "Qt's image too";
        }
    }
}

struct BadPicture {
    const char *name;
    Picture picture;
    const char *description;
};

const BadPicture kBadPictures[] = {
    {"empty", {PictureFormat::Metafile, ""}, "the picture has no data."},
    {"bitmapNotPng", {PictureFormat::Bitmap, "not a picture"}, "is not a PNG image."},
    {"dibNotBmp", {PictureFormat::Dib, kPng}, "is not a BMP image."},
};

TEST_F(Clipboard, setDataRefusesABadPictureAndKeepsTheClipboard) {
    for (const BadPicture &row : kBadPictures) {
        SCOPED_TRACE(row.name);
        putFormats({{"text/plain", "kept"}});
        EXPECT_THAT([&] { facade->ClipboardSetData(row.picture); },
                    test::ThrowsError(err::InvalidArgument, {"ClipboardSetData", row.description}));
        EXPECT_EQ(clipboardContent(), "text/plain=kept");
    }
}

} // namespace
} // namespace kvt
