// The coil program: the shared main procedure with the coil circuit on the Qt platform.
#include "platform/qt/qt_platform.h"
#include "shell/main_procedure.h"
#include "variants/variant_data.h"

int main(int argc, char** argv) {
  lab::QtPlatform platform(argc, argv, "coillab");
  return lab::runMainProcedure(platform, lab::coilVariant());
}
