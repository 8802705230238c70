#include "app/frmMain.h"
#include "platform/runtime/ProgramEnd.h"
#include "platform/serial/CommControl.h"

// Every way out ends the process on the spot, also from inside a running
// scan's yield: nothing after it may run, so no scan step can follow.
void frmMain::mnuFileExit_Click() {
    if (cntlComm->PortOpen()) cntlComm->SetPortOpen(false);
    EndProgram();
}

void frmMain::btnExit_Click() { mnuFileExit_Click(); }

void frmMain::Form_Unload(std::int16_t& Cancel) {
    Q_UNUSED(Cancel);
    EndProgram();
}
