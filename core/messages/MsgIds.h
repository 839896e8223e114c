#pragma once

#include <array>
#include <cstdint>

// Every message number the code uses, by name. Code refers to texts only through these.
namespace kvt::msg {

inline constexpr std::int32_t LanguageName = 2;

// Labels of the rounding methods; equal to the method values.
inline constexpr std::int32_t MethodLegal = 130;
inline constexpr std::int32_t MethodNearValue = 131;
inline constexpr std::int32_t MethodUpToTarget = 132;
inline constexpr std::int32_t MethodDownToTarget = 133;

inline constexpr std::int32_t NoDefaultAlias = 153;

// Labels of the target patterns: first of nine for rounding up and for rounding down.
inline constexpr std::int32_t FirstUpTargetLabel = 170;
inline constexpr std::int32_t FirstDownTargetLabel = 180;
inline constexpr std::int32_t TargetLabelCount = 9;

// Currency names of the built-in tables.
inline constexpr std::int32_t NameBEF = 200;
inline constexpr std::int32_t NameATS = 201;
inline constexpr std::int32_t NameDEM = 202;
inline constexpr std::int32_t NameESP = 204;
inline constexpr std::int32_t NameEUR = 205;
inline constexpr std::int32_t NameFRF = 206;
inline constexpr std::int32_t NameFIM = 207;
inline constexpr std::int32_t NameGBP = 208;
inline constexpr std::int32_t NameGRD = 209;
inline constexpr std::int32_t NameIEP = 210;
inline constexpr std::int32_t NameITL = 211;
inline constexpr std::int32_t NameLUF = 212;
inline constexpr std::int32_t NameNLG = 213;
inline constexpr std::int32_t NamePTE = 214;
inline constexpr std::int32_t NameUSD = 216;
inline constexpr std::int32_t NameJPY = 217;
inline constexpr std::int32_t NameCHF = 218;

// The new-currency dialog: its title and OK button (Cancel is ButtonCancel).
inline constexpr std::int32_t NewCurrencyTitle = 300;
inline constexpr std::int32_t NewCurrencyOk = 301;

// The ISO code editor: captions, grid headers, titles and confirm buttons by mode, refusals.
inline constexpr std::int32_t IsoCodeLabel = 400;
inline constexpr std::int32_t IsoInEuro = 402;
inline constexpr std::int32_t IsoLegalFormat = 403;
inline constexpr std::int32_t IsoNames = 404;
inline constexpr std::int32_t IsoLanguageHeader = 405;
inline constexpr std::int32_t IsoNameHeader = 406;
inline constexpr std::int32_t IsoCreate = 407;
inline constexpr std::int32_t IsoCancel = 408;
inline constexpr std::int32_t IsoModify = 413;
inline constexpr std::int32_t IsoNewTitle = 415;
inline constexpr std::int32_t IsoModifyTitle = 416;
inline constexpr std::int32_t IsoDecimals = 423;
inline constexpr std::int32_t IsoExplanation = 424;
// 418, blank, the code, blank, 419.
inline constexpr std::int32_t IsoExists = 418;
inline constexpr std::int32_t IsoExistsEnd = 419;
// 420, blank, the format, blank, 421.
inline constexpr std::int32_t IsoBadFormat = 420;
inline constexpr std::int32_t IsoBadFormatEnd = 421;
inline constexpr std::int32_t IsoEmptyCode = 422;
inline constexpr std::int32_t IsoForbiddenCharacter = 445;
inline constexpr std::int32_t IsoNameWithSeparator = 446;

// The rate question.
inline constexpr std::int32_t AskRateExplanation = 550;
inline constexpr std::int32_t AskRateHowTo = 551;
inline constexpr std::int32_t AskRateNotZero = 552;
inline constexpr std::int32_t AskRateNotUsable = 555;

// The help line while another add-in edits the common data: 553, the editor's name, a line
// break, 554.
inline constexpr std::int32_t CommonDataLockedBy = 553;
inline constexpr std::int32_t CommonDataLockedUntil = 554;

// Captions of the rate lines: a rate given directly or with the euro, and a derived cross rate.
inline constexpr std::int32_t RateCaption = 750;
inline constexpr std::int32_t CrossRateCaption = 751;

// Prefix of an interactive failure report, followed by the operation and the description.
inline constexpr std::int32_t OperationFailed = 1048;

// The captions of the dialogs' OK and Cancel buttons.
inline constexpr std::int32_t ButtonOk = 42;
inline constexpr std::int32_t ButtonCancel = 302;

// The font dialog: its title and the button that opens the colour dialog.
inline constexpr std::int32_t FontDialogTitle = 1300;
inline constexpr std::int32_t FontDialogColour = 1301;

// The control panel refuses an alias that the store could not keep in its "|"-separated list.
inline constexpr std::int32_t AliasNotStorable = 447;

// The spreadsheet host
inline constexpr std::int32_t CalcNoRate = 460;
inline constexpr std::int32_t CalcWindowOpen = 461;
inline constexpr std::int32_t CalcNothingToConvert = 462;
inline constexpr std::int32_t CalcOutsideSheet = 463;
inline constexpr std::int32_t CalcConverting = 464;
inline constexpr std::int32_t CalcWindowCannotOpen = 465;

// The control panel's reference rate files: the rates button's menu and its failures.
inline constexpr std::int32_t RatesImportMenu = 466;
inline constexpr std::int32_t RatesExportMenu = 467;
inline constexpr std::int32_t RatesNotImported = 468;
inline constexpr std::int32_t RatesNotExported = 469;

// Every named number above, for checks that the shipped message file holds them all.
inline constexpr std::array kAllNamed = {LanguageName,
                                         MethodLegal,
                                         MethodNearValue,
                                         MethodUpToTarget,
                                         MethodDownToTarget,
                                         NoDefaultAlias,
                                         FirstUpTargetLabel,
                                         FirstUpTargetLabel + 8,
                                         FirstDownTargetLabel,
                                         FirstDownTargetLabel + 8,
                                         NameBEF,
                                         NameATS,
                                         NameDEM,
                                         NameESP,
                                         NameEUR,
                                         NameFRF,
                                         NameFIM,
                                         NameGBP,
                                         NameGRD,
                                         NameIEP,
                                         NameITL,
                                         NameLUF,
                                         NameNLG,
                                         NamePTE,
                                         NameUSD,
                                         NameJPY,
                                         NameCHF,
                                         NewCurrencyTitle,
                                         NewCurrencyOk,
                                         IsoCodeLabel,
                                         IsoInEuro,
                                         IsoLegalFormat,
                                         IsoNames,
                                         IsoLanguageHeader,
                                         IsoNameHeader,
                                         IsoCreate,
                                         IsoCancel,
                                         IsoModify,
                                         IsoNewTitle,
                                         IsoModifyTitle,
                                         IsoDecimals,
                                         IsoExplanation,
                                         IsoExists,
                                         IsoExistsEnd,
                                         IsoBadFormat,
                                         IsoBadFormatEnd,
                                         IsoEmptyCode,
                                         IsoForbiddenCharacter,
                                         IsoNameWithSeparator,
                                         AskRateExplanation,
                                         AskRateHowTo,
                                         AskRateNotZero,
                                         AskRateNotUsable,
                                         CommonDataLockedBy,
                                         CommonDataLockedUntil,
                                         RateCaption,
                                         CrossRateCaption,
                                         OperationFailed,
                                         ButtonOk,
                                         ButtonCancel,
                                         FontDialogTitle,
                                         FontDialogColour,
                                         AliasNotStorable,
                                         CalcNoRate,
                                         CalcWindowOpen,
                                         CalcNothingToConvert,
                                         CalcOutsideSheet,
                                         CalcConverting,
                                         CalcWindowCannotOpen,
                                         RatesImportMenu,
                                         RatesExportMenu,
                                         RatesNotImported,
                                         RatesNotExported};

} // namespace kvt::msg
