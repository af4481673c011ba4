// Every named shared object of the registry, with the type registered under
// its name. Fetch them with ResourceManager::get(shared::...) and the registry
// builds each on its first request (SharedObjects.h). A scene that brings a
// shared object of its own adds its key here.
//
// Render targets: "PBuffer…" are off-screen surfaces to draw into,
// "CopyScreen…" textures that take a copy of the screen ("CopyScreenb" is
// another name for "CopyScreen640x480b"). Filters: the two blurs and the
// offset pair "SimpleDSDT" (the full-screen offset filter) on the shared
// jitter texture "Jitter". Material defaults are plain float arrays.
#pragma once

#include "core/Scene.h"
#include "resources/SharedKey.h"

class CombinerFilter;
class CopyScreen;
class JitterTexture;
class OffsetWarpFilter;
class PBuffer;
class WarpGrid;
struct MaskTexture;

namespace shared {

constexpr SharedKey<PBuffer> pbuffer320x240{"PBuffer320x240"};
constexpr SharedKey<PBuffer> pbuffer512x512{"PBuffer512x512"};
constexpr SharedKey<PBuffer> pbuffer640x480{"PBuffer640x480"};

constexpr SharedKey<CopyScreen> copyScreen320x240{"CopyScreen320x240"};
constexpr SharedKey<CopyScreen> copyScreen512x512{"CopyScreen512x512"};
constexpr SharedKey<CopyScreen> copyScreen640x480{"CopyScreen640x480"};
constexpr SharedKey<CopyScreen> copyScreen640x480b{"CopyScreen640x480b"};
constexpr SharedKey<CopyScreen> copyScreen640x480c{"CopyScreen640x480c"};
constexpr SharedKey<CopyScreen> copyScreenb{"CopyScreenb"};
// What "RCFilter" asks for: no object has this name, so each such filter
// keeps a screen copy of its own.
constexpr SharedKey<CopyScreen> copyScreen{"CopyScreen"};

constexpr SharedKey<MaskTexture> circleMask{"CircleMask"};
constexpr SharedKey<WarpGrid> pullWarp{"PullWarp"};

constexpr SharedKey<CombinerFilter> blur640x480{"Blur640x480"};
constexpr SharedKey<CombinerFilter> blur320x240{"Blur320x240"};
constexpr SharedKey<JitterTexture> jitter{"Jitter"};
constexpr SharedKey<OffsetWarpFilter> simpleDSDT{"SimpleDSDT"};

// Registered as the Scene it is: every scene's construction fetches it so.
constexpr SharedKey<Scene> keyEffects = keyEffectsKey;

constexpr SharedKey<float> ambient{"Ambient"};
constexpr SharedKey<float> diffuse{"Diffuse"};
constexpr SharedKey<float> specular{"Specular"};
constexpr SharedKey<float> shininess{"Shininess"};

} // namespace shared
