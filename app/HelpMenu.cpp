#include "about/About.h"
#include "about/AboutKestrel.h"
#include "app/frmMain.h"

// Both boxes are modeless and exist once each; the main window stays usable.
void frmMain::mnuAbout_Click() { About::ShowTheBox(); }

void frmMain::mnuAboutKestrel_Click() { AboutKestrel::ShowTheBox(); }
