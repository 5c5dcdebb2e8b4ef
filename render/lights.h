// The point-light and spot-light rigs and the material shared by all lit drawers.
#pragma once

namespace vm {

void SetupPointLights();
void SetupSpotLights();
void EnableLights();
void DisableLights();

}  // namespace vm
