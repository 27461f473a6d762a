#pragma once

#include "platform/mfc/Framework.h"

// Gresmont's application: runs the main dialog modally and ends the program when it
// closes. The program's one instance is a global of its main.
class CDornavelApp : public CWinApp {
public:
    CDornavelApp() = default;

    // COM for an apartment-threaded caller around the main dialog's modal run; FALSE, so
    // that the program ends without an event loop of its own.
    BOOL InitInstance() override;
};
