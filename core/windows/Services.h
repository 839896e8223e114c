#pragma once

#include "facade/Windows.h"

namespace kvt::windows {

// Each family of windows fills its part of the module's services.
void addDialogServices(WindowServices &services);      // message boxes, input box, rate question
void addWizardServices(WindowServices &services);      // first-time wizard, welcome screen
void addSmallDialogServices(WindowServices &services); // position, folder chooser, about box
void addClipboardServices(WindowServices &services);   // clipboard, colour and font dialogs

// Whether a window of the family is shown now; false when it was never opened.
bool askRateVisible();
bool wizardVisible(LibraryWindow window); // FirstTime, Welcome
bool aboutVisible();

// Every service of the module: what its entry point registers, and what tests register
// without loading the module file.
WindowServices allServices();

} // namespace kvt::windows
