#include "FunctionCatalog.h"

#include <algorithm>

namespace talvio::calc {

namespace {

constexpr ArgumentText kAmount{{"Betrag", "amount", "importe", "montant", "importo", "bedrag"},
                               {"Der umzurechnende Betrag.", "The amount to convert.",
                                "El importe que se convierte.", "Le montant à convertir.",
                                "L'importo da convertire.", "Het om te rekenen bedrag."}};

constexpr ArgumentText kFrom{{"von", "from", "de", "de", "da", "van"},
                             {"Der ISO-Code der Ausgangswährung, zum Beispiel BEF.",
                              "The ISO code of the currency converted from, for example BEF.",
                              "El código ISO de la moneda de origen, por ejemplo BEF.",
                              "Le code ISO de la devise de départ, par exemple BEF.",
                              "Il codice ISO della valuta di partenza, per esempio BEF.",
                              "De ISO-code van de bronvaluta, bijvoorbeeld BEF."}};

constexpr ArgumentText kTo{{"nach", "to", "a", "vers", "a", "naar"},
                           {"Der ISO-Code der Zielwährung, zum Beispiel FRF.",
                            "The ISO code of the currency converted into, for example FRF.",
                            "El código ISO de la moneda de destino, por ejemplo FRF.",
                            "Le code ISO de la devise d'arrivée, par exemple FRF.",
                            "Il codice ISO della valuta di arrivo, per esempio FRF.",
                            "De ISO-code van de doelvaluta, bijvoorbeeld FRF."}};

constexpr ArgumentText kCode{{"Code", "code", "código", "code", "codice", "code"},
                             {"Der ISO-Code der Währung.", "The ISO code of the currency.",
                              "El código ISO de la moneda.", "Le code ISO de la devise.",
                              "Il codice ISO della valuta.", "De ISO-code van de valuta."}};

constexpr ArgumentText kMethod{
    {"Methode", "method", "método", "méthode", "metodo", "methode"},
    {"Optional. Die Rundung: legal, near, up, down oder 130 bis 133. Vorgabe: die Einstellung "
     "von Talvio.",
     "Optional. The rounding: legal, near, up, down, or 130 to 133. Default: Talvio's setting.",
     "Opcional. El redondeo: legal, near, up, down o de 130 a 133. Por defecto: el ajuste de "
     "Talvio.",
     "Facultatif. L'arrondi : legal, near, up, down ou de 130 à 133. Par défaut : le réglage de "
     "Talvio.",
     "Facoltativo. L'arrotondamento: legal, near, up, down o da 130 a 133. Predefinito: "
     "l'impostazione di Talvio.",
     "Optioneel. De afronding: legal, near, up, down of 130 tot 133. Standaard: de instelling "
     "van Talvio."}};

constexpr ArgumentText kTarget{
    {"Ziel", "target", "objetivo", "cible", "obiettivo", "doel"},
    {"Optional. Das Rundungsmuster für near, up und down, zum Beispiel X.X9. Vorgabe: die "
     "Einstellung von Talvio.",
     "Optional. The rounding pattern of near, up and down, for example X.X9. Default: Talvio's "
     "setting.",
     "Opcional. El patrón de redondeo de near, up y down, por ejemplo X.X9. Por defecto: el "
     "ajuste de Talvio.",
     "Facultatif. Le motif d'arrondi de near, up et down, par exemple X.X9. Par défaut : le "
     "réglage de Talvio.",
     "Facoltativo. Lo schema di arrotondamento di near, up e down, per esempio X.X9. "
     "Predefinito: l'impostazione di Talvio.",
     "Optioneel. Het afrondingspatroon van near, up en down, bijvoorbeeld X.X9. Standaard: de "
     "instelling van Talvio."}};

constexpr ArgumentText kEuroDecimals{
    {"Euro_Dezimalen", "euro_decimals", "decimales_euro", "décimales_euro", "decimali_euro",
     "euro_decimalen"},
    {"Optional. Dezimalstellen des Euro-Zwischenbetrags, 3 bis 15. Vorgabe: die Einstellung von "
     "Talvio.",
     "Optional. Decimals of the intermediate euro amount, 3 to 15. Default: Talvio's setting.",
     "Opcional. Decimales del importe intermedio en euros, de 3 a 15. Por defecto: el ajuste de "
     "Talvio.",
     "Facultatif. Décimales du montant intermédiaire en euros, de 3 à 15. Par défaut : le "
     "réglage de Talvio.",
     "Facoltativo. Decimali dell'importo intermedio in euro, da 3 a 15. Predefinito: "
     "l'impostazione di Talvio.",
     "Optioneel. Decimalen van het tussenbedrag in euro, 3 tot 15. Standaard: de instelling van "
     "Talvio."}};

constexpr ArgumentText kConvertArguments[] = {kAmount, kFrom, kTo, kMethod, kTarget, kEuroDecimals};
constexpr ArgumentText kRateArguments[] = {kFrom, kTo};
constexpr ArgumentText kFormatArguments[] = {kTo, kMethod, kTarget};
constexpr ArgumentText kAliasArguments[] = {kCode};

constexpr FunctionText kFunctions[] = {
    {"convert",
     "TALVIO.CONVERT",
     {"Rechnet einen Betrag mit den Kursen und der Rundung von Talvio von einer Währung in eine "
      "andere um.",
      "Converts an amount from one currency to another with Talvio's rates and rounding.",
      "Convierte un importe de una moneda a otra con los tipos y el redondeo de Talvio.",
      "Convertit un montant d'une devise dans une autre avec les taux et l'arrondi de Talvio.",
      "Converte un importo da una valuta a un'altra con i cambi e l'arrotondamento di Talvio.",
      "Rekent een bedrag om van de ene valuta naar de andere met de koersen en de afronding van "
      "Talvio."},
     kConvertArguments},
    {"rate",
     "TALVIO.RATE",
     {"Der Wechselkurs: der Wert einer Einheit der ersten Währung in der zweiten.",
      "The exchange rate: what one unit of the first currency is worth in the second.",
      "El tipo de cambio: lo que vale una unidad de la primera moneda en la segunda.",
      "Le taux de change : la valeur d'une unité de la première devise dans la seconde.",
      "Il tasso di cambio: il valore di un'unità della prima valuta nella seconda.",
      "De wisselkoers: de waarde van één eenheid van de eerste valuta in de tweede."},
     kRateArguments},
    {"format",
     "TALVIO.FORMAT",
     {"Der Zahlenformat-Code, den Talvio einem in die Währung umgerechneten Ergebnis gibt.",
      "The number-format code Talvio gives a result converted into the currency.",
      "El código de formato numérico que Talvio da a un resultado convertido a la moneda.",
      "Le code de format numérique que Talvio donne à un résultat converti dans la devise.",
      "Il codice di formato numerico che Talvio dà a un risultato convertito nella valuta.",
      "De getalnotatiecode die Talvio geeft aan een resultaat omgerekend naar de valuta."},
     kFormatArguments},
    {"alias",
     "TALVIO.ALIAS",
     {"Das Standardkürzel einer Währung: das Symbol, mit dem ihre Beträge angezeigt werden.",
      "The default alias of a currency: the symbol its amounts are shown with.",
      "El alias por defecto de una moneda: el símbolo con que se muestran sus importes.",
      "L'alias par défaut d'une devise : le symbole avec lequel ses montants s'affichent.",
      "L'alias predefinito di una valuta: il simbolo con cui si mostrano i suoi importi.",
      "De standaardalias van een valuta: het symbool waarmee haar bedragen worden getoond."},
     kAliasArguments},
};

template<class Field>
const FunctionText *findBy(Field field, std::string_view name) {
    const auto *found = std::find_if(std::begin(kFunctions), std::end(kFunctions),
                                     [&](const FunctionText &text) { return text.*field == name; });
    return found == std::end(kFunctions) ? nullptr : found;
}

} // namespace

std::size_t textIndexOf(std::string_view language) {
    static constexpr std::array<std::string_view, 6> kCodes = {"de", "en", "es", "fr", "it", "nl"};
    const auto *found = std::find(kCodes.begin(), kCodes.end(), language);
    return found == kCodes.end() ? 1 : static_cast<std::size_t>(found - kCodes.begin());
}

const FunctionText *functionNamed(std::string_view programmatic) {
    return findBy(&FunctionText::programmatic, programmatic);
}

const FunctionText *functionDisplayed(std::string_view display) {
    return findBy(&FunctionText::display, display);
}

} // namespace talvio::calc
