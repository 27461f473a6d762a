#pragma once

// The maker's web host: every created video names it in its caption and cards, and both
// programs open its root page from their web and help commands.
inline constexpr char kMakerHost[] = "www.halvorsk.example";
inline constexpr char kMakerPage[] = "https://www.halvorsk.example/";
