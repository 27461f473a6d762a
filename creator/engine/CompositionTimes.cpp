#include "creator/engine/CompositionTimes.h"

const char* CompositionTimes::Name(Step step)
{
    switch (step) {
    case WorkImages:
        return "work images";
    case FaceCutOut:
        return "face cut-out";
    case FaceScaling:
        return "face scaling";
    case FaceTurning:
        return "face turning";
    case Copies:
        return "copies";
    case Smoothing:
        return "smoothing + clustering";
    case Quantising:
        return "quantising";
    case MarkedRegion:
        return "background search";
    case BestRegion:
        return "face-spot search";
    case Blends:
        return "blends";
    case HandOver:
        return "hand-over (Sleep 1)";
    case Caption:
        return "caption";
    case Cards:
        return "cards";
    case Callback:
        return "whole callback";
    case kStepCount:
        break;
    }
    return "?";
}
