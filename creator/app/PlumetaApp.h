#pragma once

#include "platform/mfc/Framework.h"

// Tavrino's application: its start runs the main dialog modally for the whole life of
// the process. The program has one global object of it (creator/app/program).
class CPlumetaApp : public CWinApp {
public:
    CPlumetaApp() = default;

    // COM for an apartment-threaded caller, the main dialog as the main window run
    // modally, COM released; FALSE, so that the program ends after it.
    BOOL InitInstance() override;
};
