// Tavrino: makes a short personalised video from a face picture, a background picture,
// a video template and an audio file.

#include "creator/app/PlumetaApp.h"
#include "creator/app/TavrinoResources.h"

// The one application object, made before the program's start runs.
CPlumetaApp theApp;

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv, &kTavrinoModule);
}
