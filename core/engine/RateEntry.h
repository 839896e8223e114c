#pragma once

#include "kvt_export.h"

#include <string>

namespace kvt {

class Change;

// A rate the user enters, 1 from = rate to, as the control panel takes a typed one: that
// direction given, the reverse derived from it, the cross rates with the euro-area currencies
// recomputed (PropagateTaux) and the last rate update set to when. The rate must be usable and
// both codes in the catalogue; a failure leaves the tables as they were before the first put.
KVT_EXPORT void enterRate(Change &change, const std::string &from, const std::string &to,
                          double rate, double when);

// Selects a catalogue currency as the control panel's add-currency does, with what is known of
// its rates against the euro set up: a euro-area currency's fixed rate made explicit, another
// currency's entered euro rate propagated to the euro-area currencies.
KVT_EXPORT void selectCurrency(Change &change, const std::string &code);

} // namespace kvt
