#include "WindowTesting.h"
#include "core/facade/FacadeFixture.h"
#include "support/ErrorMatchers.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kvt {
namespace {

const auto *const kApplication = testing::AddGlobalTestEnvironment(new test::WindowApplication);

using Flags = std::array<bool, ClipboardStore::kFormats>;
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

const std::vector<unsigned> kRedBlue = {0xFFFF0000u, 0xFF0000FFu};

std::string encoded(const QImage &image, const char *type) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, type);
    return bytes.toStdString();
}

std::vector<unsigned> pixels(const QImage &image) {
    std::vector<unsigned> colours;
    for (int x = 0; x < image.width(); ++x)
        colours.push_back(image.pixel(x, 0));
    return colours;
}

std::vector<unsigned> decodedPixels(const std::string &bytes) {
    return pixels(QImage::fromData(QByteArray::fromStdString(bytes)));
}

// Sets what a user or another program left on the clipboard.
void putFormats(const Formats &formats, bool withImage) {
    auto *data = new QMimeData;
    for (const auto &[mime, bytes] : formats)
        data->setData(mime, QByteArray::fromStdString(bytes));
    if (withImage)
        data->setImageData(redBlue());
    systemClipboard().setMimeData(data);
}

// The formats on the clipboard, in order, separated by blanks.
std::string formatsOnClipboard() {
    const QMimeData *data = systemClipboard().mimeData();
    return data ? data->formats().join(' ').toStdString() : std::string();
}

std::string onClipboard(const char *mime) {
    const QMimeData *data = systemClipboard().mimeData();
    return data ? data->data(mime).toStdString() : std::string();
}

const std::string kPng = encoded(redBlue(), "PNG");
const std::string kBmp = encoded(redBlue(), "BMP");

class Clipboard : public test::FacadeFixture {
protected:
    void SetUp() override {
        FacadeFixture::SetUp();
        startAfresh();
    }
    // An empty clipboard and a facade that saved nothing yet: each row of a table starts so.
    void startAfresh() {
        systemClipboard().clear();
        facade.reset();
        facade = std::make_unique<KVTMain>();
    }
    void TearDown() override {
        facade.reset();
        FacadeFixture::TearDown();
    }
    std::unique_ptr<KVTMain> facade;
};

struct RoundTrip {
    const char *name;
    Formats userFormats;
    bool userImage;
    Flags present;                       // bitmap, DIB, link, metafile, palette, RTF, text
    std::vector<std::string> others;     // saved besides the seven
    std::optional<std::string> hostText; // what the host copies between clear and restore
    Formats restored;
    bool imageRestored;
};

const RoundTrip kRoundTrips[] = {
    {"plainText",
     {{"text/plain", "1 EUR = 40.3399 BEF"}},
     false,
     {0, 0, 0, 0, 0, 0, 1},
     {},
     std::nullopt,
     {{"text/plain", "1 EUR = 40.3399 BEF"}},
     false},
    {"richTextWithText",
     {{"text/rtf", R"({\rtf1 \b 40.3399\b0})"}, {"text/plain", "40.3399"}},
     false,
     {0, 0, 0, 0, 0, 1, 1},
     {},
     std::nullopt,
     {{"text/rtf", R"({\rtf1 \b 40.3399\b0})"}, {"text/plain", "40.3399"}},
     false},
    // The host's own text stays beside the restored picture: the clipboard is not emptied.
    {"imageBesideTheHostsText",
     {},
     true,
     {1, 0, 0, 0, 0, 0, 0},
     {},
     "host",
     {{"text/plain", "host"}},
     true},
    {"deviceIndependentBitmapAndMetafile",
     {{"image/bmp", "BM-bytes"}, {"image/x-wmf", "wmf-bytes"}},
     false,
     {0, 1, 0, 1, 0, 0, 0},
     {},
     std::nullopt,
     {{"image/bmp", "BM-bytes"}, {"image/x-wmf", "wmf-bytes"}},
     false},
    // What a browser leaves: the HTML and its other formats come back with the text.
    {"htmlFromABrowserIsKept",
     {{"text/html", "<b>40,34</b>"}, {"text/plain", "40,34"}, {"text/x-moz-url", "u"}},
     false,
     {0, 0, 0, 0, 0, 0, 1},
     {"text/html", "text/x-moz-url"},
     "host",
     {{"text/html", "<b>40,34</b>"}, {"text/plain", "40,34"}, {"text/x-moz-url", "u"}},
     false},
    {"emptyClipboardRestoresNothing",
     {},
     false,
     {0, 0, 0, 0, 0, 0, 0},
     {},
     "host",
     {{"text/plain", "host"}},
     false},
};

TEST_F(Clipboard, restoreGivesTheSavedClipboardBack) {
    for (const RoundTrip &row : kRoundTrips) {
        SCOPED_TRACE(row.name);
        startAfresh();
        putFormats(row.userFormats, row.userImage);

        facade->ClipboardSave();
        const ClipboardStore &store = facade->clipboardStore();
        EXPECT_EQ(store.present, row.present);
        std::vector<std::string> others;
        for (const auto &[mime, bytes] : store.others)
            others.push_back(mime);
        EXPECT_EQ(others, row.others);

        facade->ClipboardClear();
        EXPECT_EQ(formatsOnClipboard(), "");
        if (row.hostText)
            systemClipboard().setText(QString::fromStdString(*row.hostText));
        facade->ClipboardRestore();

        for (const auto &[mime, bytes] : row.restored)
            EXPECT_EQ(onClipboard(mime), bytes) << mime;
        const std::vector<unsigned> image = row.imageRestored ? kRedBlue : std::vector<unsigned>{};
        EXPECT_EQ(pixels(systemClipboard().image()), image);
        EXPECT_EQ(decodedPixels(onClipboard("image/png")), image);
        EXPECT_EQ(store.present, row.present) << "the flags are kept";
        EXPECT_EQ(store.saved, (std::array<std::string, ClipboardStore::kFormats>{}));
        EXPECT_TRUE(store.others.empty());
    }
}

TEST_F(Clipboard, secondRestoreWithoutSaveLeavesTheHostsClipboardAlone) {
    putFormats({{"text/plain", "saved"}, {"text/html", "<i>saved</i>"}}, false);
    facade->ClipboardSave();
    facade->ClipboardRestore();
    putFormats({{"text/plain", "host"}}, false);

    facade->ClipboardRestore();

    EXPECT_EQ(onClipboard("text/plain"), "host");
    EXPECT_EQ(formatsOnClipboard(), "text/plain");
    EXPECT_EQ(facade->clipboardStore().present, (Flags{0, 0, 0, 0, 0, 0, 1}));
}

struct PictureCase {
    const char *name;
    std::function<void(KVTMain &)> put;
    PictureFormat format;
    std::string bytes; // empty: a picture of the red and blue pixels
};

const PictureCase kPictures[] = {
    {"bitmap",
     [](KVTMain &facade) {
         facade.ClipboardSetData({PictureFormat::Bitmap, kPng});
     },
     PictureFormat::Bitmap, ""},
    {"deviceIndependentBitmap",
     [](KVTMain &facade) {
         facade.ClipboardSetData({PictureFormat::Dib, kBmp});
     },
     PictureFormat::Dib, kBmp},
    {"metafile",
     [](KVTMain &facade) {
         facade.ClipboardSetData({PictureFormat::Metafile, "wmf"});
     },
     PictureFormat::Metafile, "wmf"},
    {"imageCopiedByAnotherWidget",
     [](KVTMain &) {
         putFormats({{"text/plain", "kept"}}, true);
     },
     PictureFormat::Bitmap, ""},
    // The bitmap comes first, whatever else the clipboard holds.
    {"bitmapBeforeTheOthers",
     [](KVTMain &facade) {
         facade.ClipboardSetData({PictureFormat::Metafile, "wmf"});
         facade.ClipboardSetData({PictureFormat::Dib, kBmp});
         facade.ClipboardSetData({PictureFormat::Bitmap, kPng});
     },
     PictureFormat::Bitmap, ""},
    {"metafileBeforeTheDeviceIndependentBitmap",
     [](KVTMain &facade) {
         facade.ClipboardSetData({PictureFormat::Dib, kBmp});
         facade.ClipboardSetData({PictureFormat::Metafile, "wmf"});
     },
     PictureFormat::Metafile, "wmf"},
};

TEST_F(Clipboard, getDataGivesThePictureInTheFirstFormatAvailable) {
    for (const PictureCase &row : kPictures) {
        SCOPED_TRACE(row.name);
        startAfresh();
        systemClipboard().setText("kept");
        row.put(*facade);

        const Picture picture = facade->ClipboardGetData();

        EXPECT_EQ(picture.format, row.format);
        if (row.bytes.empty())
            EXPECT_EQ(decodedPixels(picture.bytes), kRedBlue);
        else
            EXPECT_EQ(picture.bytes, row.bytes);
        EXPECT_EQ(onClipboard("text/plain"), "kept") << "other formats stay";
    }
}

TEST_F(Clipboard, aBitmapIsAlsoTheImageOtherWidgetsRead) {
    facade->ClipboardSetData({PictureFormat::Bitmap, kPng});
    EXPECT_EQ(pixels(systemClipboard().image()), kRedBlue);
}

TEST_F(Clipboard, noPictureGivesAnEmptyPicture) {
    systemClipboard().setText("only text");
    EXPECT_TRUE(facade->ClipboardGetData().bytes.empty());
    systemClipboard().clear();
    EXPECT_TRUE(facade->ClipboardGetData().bytes.empty());
}

struct BadPicture {
    const char *name;
    Picture picture;
    const char *description;
};

const BadPicture kBadPictures[] = {
    {"empty", {PictureFormat::Metafile, ""}, "ClipboardSetData: the picture has no data."},
    {"bitmapNotPng",
     {PictureFormat::Bitmap, "not a picture"},
     "ClipboardSetData: the picture's data is not a PNG image."},
    {"dibNotBmp",
     {PictureFormat::Dib, kPng},
     "ClipboardSetData: the picture's data is not a BMP image."},
};

TEST_F(Clipboard, setDataRefusesABadPictureAndKeepsTheClipboard) {
    for (const BadPicture &row : kBadPictures) {
        SCOPED_TRACE(row.name);
        startAfresh();
        systemClipboard().setText("kept");
        EXPECT_THAT([&] { facade->ClipboardSetData(row.picture); },
                    test::ThrowsError(err::InvalidArgument, {row.description}));
        EXPECT_EQ(formatsOnClipboard(), "text/plain");
    }
}

} // namespace
} // namespace kvt
