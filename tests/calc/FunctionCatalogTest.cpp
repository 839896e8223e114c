#include "FunctionCatalog.h"

#include <gtest/gtest.h>

namespace talvio::calc {
namespace {

TEST(FunctionCatalog, namesEachFunctionAndDescribesItInTheSixLanguages) {
    const std::pair<const char *, const char *> names[] = {{"convert", "TALVIO.CONVERT"},
                                                           {"rate", "TALVIO.RATE"},
                                                           {"format", "TALVIO.FORMAT"},
                                                           {"alias", "TALVIO.ALIAS"}};
    for (const auto &[programmatic, display] : names) {
        ASSERT_NE(functionNamed(programmatic), nullptr) << programmatic;
        EXPECT_EQ(functionNamed(programmatic)->display, display);
        EXPECT_EQ(functionDisplayed(display), functionNamed(programmatic));
    }
    EXPECT_EQ(functionNamed("CONVERT"), nullptr);
    EXPECT_EQ(functionDisplayed("TALVIO.convert"), nullptr);
    EXPECT_EQ(functionNamed("convert")->arguments.size(), 6u);
    EXPECT_EQ(functionNamed("format")->arguments.size(), 3u);

    struct Case {
        const char *language;
        const char *rateDescription;
        const char *euroDecimals;
    };
    const Case cases[] = {
        {"de", "Der Wechselkurs: der Wert einer Einheit der ersten Währung in der zweiten.",
         "Euro_Dezimalen"},
        {"en", "The exchange rate: what one unit of the first currency is worth in the second.",
         "euro_decimals"},
        {"es", "El tipo de cambio: lo que vale una unidad de la primera moneda en la segunda.",
         "decimales_euro"},
        {"fr", "Le taux de change : la valeur d'une unité de la première devise dans la seconde.",
         "décimales_euro"},
        {"it", "Il tasso di cambio: il valore di un'unità della prima valuta nella seconda.",
         "decimali_euro"},
        {"nl", "De wisselkoers: de waarde van één eenheid van de eerste valuta in de tweede.",
         "euro_decimalen"},
        {"pt", "The exchange rate: what one unit of the first currency is worth in the second.",
         "euro_decimals"},
        {"", "The exchange rate: what one unit of the first currency is worth in the second.",
         "euro_decimals"},
    };
    for (const Case &c : cases) {
        const std::size_t language = textIndexOf(c.language);
        EXPECT_EQ(functionNamed("rate")->description[language], c.rateDescription) << c.language;
        EXPECT_EQ(functionNamed("convert")->arguments[5].name[language], c.euroDecimals)
            << c.language;
    }
}

} // namespace
} // namespace talvio::calc
