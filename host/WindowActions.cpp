#include "WindowActions.h"

#include "facade/KVTMain.h"
#include "facade/Windows.h"
#include "model/Error.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace talvio {

namespace {

// Colours as a host passes them hold red in the lowest byte; people write them #RRGGBB.
std::int32_t hostColour(std::string_view text) {
    unsigned value = 0;
    const bool hex = text.size() == 7 && text.front() == '#';
    const auto [end, error] = hex ? std::from_chars(text.data() + 1, text.data() + 7, value, 16)
                                  : std::from_chars_result{};
    if (!hex || error != std::errc() || end != text.data() + 7)
        throw kvt::Error(kvt::err::InvalidArgument,
                         "\"" + std::string(text) + "\" is not a colour of the form #RRGGBB");
    const unsigned red = value >> 16, green = (value >> 8) & 0xFFu, blue = value & 0xFFu;
    return static_cast<std::int32_t>(red | green << 8 | blue << 16);
}

std::string webColour(std::int32_t colour) {
    const auto bits = static_cast<unsigned>(colour);
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "#%02X%02X%02X", bits & 0xFFu, (bits >> 8) & 0xFFu,
                  (bits >> 16) & 0xFFu);
    return text.data();
}

const std::array<const char *, 5> kPositionNames = {"InsautoMilieu", "InsAutoHaut", "InsAutoBas",
                                                    "InsAutoGauche", "InsautoDroite"};

std::string pickPosition(kvt::KVTMain &main) {
    const kvt::InsAutoTypePos position = main.getPosIns();
    const auto index = static_cast<std::size_t>(position);
    return std::to_string(position) + " "
           + (index < kPositionNames.size() ? kPositionNames[index] : "?");
}

std::optional<std::string> pickFolder(kvt::KVTMain &main, const std::optional<std::string> &start) {
    kvt::FrmDriveDir &chooser = main.FrmDriveDir();
    if (start)
        chooser.setCurrentPath(*start);
    chooser.Show();
    if (chooser.ChosenPath().empty())
        return std::nullopt;
    return chooser.ChosenPath();
}

// The dialog itself rather than the facade's ColorByDialog, which answers a cancel with the
// colour it was given: the command must tell the two apart.
std::optional<std::string> pickColour(const std::optional<std::string> &start) {
    const std::optional<std::int32_t> chosen =
        kvt::windowServices().colorByDialog(hostColour(start.value_or("#000000")));
    if (!chosen)
        return std::nullopt;
    return webColour(*chosen);
}

std::optional<std::string> pickFont(kvt::KVTMain &main) {
    bool cancel = false;
    std::string name = "DejaVu Sans";
    float size = 10;
    bool bold = false, italic = false, strike = false, underline = false;
    std::int32_t colour = 0;
    main.FontByDialog(cancel, name, size, bold, italic, strike, underline, colour);
    if (cancel)
        return std::nullopt;
    std::ostringstream fields;
    fields << "name\t" << name << "\nsize\t" << size << "\nbold\t" << bold << "\nitalic\t" << italic
           << "\nstrike\t" << strike << "\nunderline\t" << underline << "\ncolor\t"
           << webColour(colour);
    return fields.str();
}

} // namespace

void showWizard(Session &session, bool force) {
    session.main().FirstTime(force);
    session.SaveGeneralSettings();
}

void showAbout(Session &session, std::string_view version) {
    session.main().ShowAbout(
        {"Version", "Settings", "Messages"},
        {std::string(version), session.SettingsPath(), session.MessagesPath()});
}

bool showPanel(Session &session) {
    // The panel saves through the store as Apply does: the database is set up for writing.
    session.PrepareToWrite();
    return session.main().ShowCP();
}

bool isPickable(std::string_view what) {
    return what == "position" || what == "folder" || what == "color" || what == "font";
}

std::optional<std::string> pick(Session &session, std::string_view what,
                                const std::optional<std::string> &initial) {
    kvt::KVTMain &main = session.main();
    if (what == "position")
        return pickPosition(main);
    if (what == "folder")
        return pickFolder(main, initial);
    if (what == "color")
        return pickColour(initial);
    return pickFont(main);
}

} // namespace talvio
