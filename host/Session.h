#pragma once

#include "engine/Change.h"
#include "facade/KVTMain.h"
#include "model/CurrencyTables.h"

#include <memory>
#include <string>

namespace kvt {
class SqliteSettingsBackend;
} // namespace kvt

namespace talvio {

// The host's one door to the library: one KVTMain, initialised with the message file on the
// settings store the command line chose, as an add-in would. The few things an add-in does
// through the control panel (entering a rate, the conversion detail of a pair) go through the
// facade's engine and driver the way the panel does.
class Session {
public:
    // explicitSettings / explicitMessages may be empty: the default database and the shipped
    // message file. Failures (an unreadable store or message file) throw kvt::Error.
    Session(const std::string &explicitSettings, const std::string &explicitMessages);

    kvt::MethodeArondiType MethodeArondi() const;
    std::string ValeurCible() const;
    std::int16_t NbDecEuroInter() const;
    bool FormatDef() const;

    double Convert(double amount, const std::string &from, const std::string &to,
                   std::int16_t nbDecEuroInter, kvt::MethodeArondiType method,
                   const std::string &pattern);
    // The currency's default alias, for writing after an amount.
    std::string DeviseFormat(const std::string &code);
    // The number-format code of a result in that currency.
    std::string DeviseFormatNumber(const std::string &code, kvt::MethodeArondiType method,
                                   const std::string &pattern);

    bool AskRateRequired(const std::string &from, const std::string &to);
    double TauxDeChangeConvert(const std::string &from, const std::string &to);
    void UpdateRateLabels(kvt::RateLabels &labels, const std::string &from, const std::string &to);
    // The detail of converting between the pair, as the control panel shows it for the pair it
    // has chosen; the stored choice of pair is left as it was.
    void UpdateTaux(double amount, kvt::ConversionDetail &source, kvt::ConversionDetail &target,
                    const std::string &from, const std::string &to, kvt::MethodeArondiType method,
                    const std::string &pattern);
    void PsyRounds(kvt::TargetValueList &list, kvt::MethodeArondiType method);
    kvt::CodeNameList Currencies();
    kvt::CodeNameList Catalogue();
    bool InEuroArea(const std::string &code);
    bool IsSelected(const std::string &code);

    // 1 from = rate to, as the control panel's rate entry takes it: the rate given in that
    // direction, its inverse derived, cross rates propagated, the last rate update now.
    void EnterRate(const std::string &from, const std::string &to, double rate);
    // Saves the general settings and the currency tables, as Apply does. Both saves set the
    // database up for writing first: a command that only reads leaves it as it was.
    void WriteRegistry();
    // Saves the currency tables only, which is all that a rate entry changes: the general
    // settings another process may have changed meanwhile are left as it stored them.
    void SaveTables();
    // Sets the database up for writing, before a window that may save (the control panel).
    void PrepareToWrite();
    // Saves the general settings only: what the first-time wizard changes.
    void SaveGeneralSettings();
    // The settings database and the message file in use.
    std::string SettingsPath() const;
    const std::string &MessagesPath() const { return mMessagesPath; }

    // The facade itself, for what an add-in does beyond these commands.
    kvt::KVTMain &main() { return mMain; }

private:
    std::shared_ptr<kvt::SqliteSettingsBackend> mDatabase;
    std::string mMessagesPath;
    kvt::KVTMain mMain;
};

} // namespace talvio
