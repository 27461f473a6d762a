#pragma once

#include "platform/ui/Resources.h"

// Dialog resource 101, the options page: the two compressor lists, the face size, the
// audio delay and its Apply button, and Close. Created hidden and centred.
inline constexpr int kOptionsDialogId = 101;
extern const DialogResource kOptionsDialog;

inline constexpr int kCloseOptions = 2000;
inline constexpr int kApplyDelay = 2001;
inline constexpr int kAudioCompressorList = 2100;
inline constexpr int kVideoCompressorList = 2101;
inline constexpr int kFaceSizeList = 2102;
inline constexpr int kDelayTrackbar = 2200;
inline constexpr int kAudioCompressorLabel = 2300;
inline constexpr int kVideoCompressorLabel = 2301;
inline constexpr int kFaceSizeLabel = 2302;
inline constexpr int kDelayLabel = 2303;
