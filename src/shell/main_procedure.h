// The main procedure shared by both programs: start-up, main loop and shut-down.
#pragma once

namespace lab {

class Platform;
struct LabContext;
struct VariantData;

void StartupSequence(LabContext& ctx);
void mainLoop(LabContext& ctx);
void shutDown(Platform& platform);
// Runs the whole program on a platform; the result is the exit status.
int runMainProcedure(Platform& platform, const VariantData& variant);

}  // namespace lab
