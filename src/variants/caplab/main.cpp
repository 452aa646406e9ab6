// The capacitor program: the shared main procedure with the capacitor circuit on its platform.
#include "platform/program_platform.h"
#include "shell/main_procedure.h"
#include "variants/variant_data.h"

int main(int argc, char** argv) {
  const auto platform = lab::makeProgramPlatform(argc, argv, "caplab");
  return lab::runMainProcedure(*platform, lab::capacitorVariant());
}
