// Gresmont, the template editor: its application object and the program's start.

#include "editor/app/DornavelApp.h"
#include "editor/app/EditorResources.h"

CDornavelApp theApp;

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv, &kEditorModule);
}
