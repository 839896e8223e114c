#pragma once

#include "kvt_export.h"
#include "messages/Langue.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kvt {

// Rounding methods; each value is also the message number of its label.
enum MethodeArondiType : std::int32_t {
    Legal = 130,
    NearValue = 131,
    suptargetValue = 132,
    infTargetValue = 133,
};

// A method as hosts let users write it: "legal", "near", "up", "down", or its number 130 to
// 133; nullopt for anything else.
KVT_EXPORT std::optional<MethodeArondiType> methodNamed(std::string_view text);

// The user's general preferences, stored in one settings section (RegSection).
class KVT_EXPORT DG {
public:
    const std::string &RegSection() const { return mRegSection; }
    void setRegSection(std::string value) { mRegSection = std::move(value); }
    const std::string &DeviseFrom() const { return mDeviseFrom; }
    void setDeviseFrom(std::string value) { mDeviseFrom = std::move(value); }
    const std::string &DeviseTo() const { return mDeviseTo; }
    void setDeviseTo(std::string value) { mDeviseTo = std::move(value); }
    kvt::Langue Langue() const { return mLangue; }
    void setLangue(kvt::Langue value) { mLangue = value; }
    MethodeArondiType MethodeArondi() const { return mMethodeArondi; }
    void setMethodeArondi(MethodeArondiType value) { mMethodeArondi = value; }
    const std::string &DevFormat() const { return mDevFormat; }
    void setDevFormat(std::string value) { mDevFormat = std::move(value); }
    bool FormatDef() const { return mFormatDef; }
    void setFormatDef(bool value) { mFormatDef = value; }
    std::int16_t NbDecEuroInter() const { return mNbDecEuroInter; }
    void setNbDecEuroInter(std::int16_t value) { mNbDecEuroInter = value; }

    // Sets the application name of the shared settings store.
    void setProjectName(const std::string &name);

    // Exchanges DeviseFrom and DeviseTo, then saves all settings.
    void InverseDevise();
    // The default source currency of a language.
    static std::string DefaultIso(kvt::Langue rLangue);
    // Reads every setting from section RegSection() of the shared Registry; an absent one is
    // stored with its default. Language, RoundType and NbDecEuroInter must hold whole numbers
    // in 16-bit range, else kvt::Error (err::TypeMismatch).
    void ReadReg();
    // Writes every setting to section RegSection() of the shared Registry, as one batch.
    void SaveReg();

private:
    std::string mRegSection;
    std::string mDeviseFrom;
    std::string mDeviseTo;
    kvt::Langue mLangue = kvt::DE;
    MethodeArondiType mMethodeArondi = MethodeArondiType{0};
    std::string mDevFormat;
    bool mFormatDef = false;
    std::int16_t mNbDecEuroInter = 0;
};

// The library's one set of general settings, created on first use.
KVT_EXPORT std::shared_ptr<DG> sharedDG();
void setSharedDG(std::shared_ptr<DG> dg);
// Drops the shared settings object; a later use creates a new, empty one.
KVT_EXPORT void releaseSharedDG();
// The same, only when the shared object is dg (the engine releasing what it held).
KVT_EXPORT void releaseSharedDG(const DG &dg);

} // namespace kvt
