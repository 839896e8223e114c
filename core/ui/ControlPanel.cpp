#include "ui/ControlPanel.h"

#include "engine/Formats.h"

namespace kvt {

std::int32_t FrmControlPanel::NrOfDec(std::string_view rstrLegal) {
    return kvt::NrOfDec(rstrLegal);
}

std::string FrmControlPanel::LegalFormatFromNrDec(std::int32_t nrDec) {
    return kvt::LegalFormatFromNrDec(nrDec);
}

} // namespace kvt
