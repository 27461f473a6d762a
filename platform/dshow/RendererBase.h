#pragma once

#include "platform/dshow/BaseRenderer.h"
#include "platform/dshow/FilterBase.h"
#include "platform/dshow/RendererInputPin.h"

// The helpers for renderers, one class to a file; this header gathers them.
