// The coil program: texts, start-up values, ranges and limits.
#include "variants/variant_data.h"

namespace lab {

const VariantData& coilVariant() {
  static const VariantData data{
      ModelVariant{
          .kind = CircuitVariant::Coil,
          .defaults = {.Uo = 10,
                       .Initial = 0,
                       .R = 1,
                       .R2 = 0.5,
                       .Storage = 1,
                       .dt = 0.05,
                       .RSum = 1.5,
                       .InvL = 1,
                       .InvR = 1,
                       .InvRSum = 0.5,
                       .InvC = 1,
                       .RestartVoltage = 0},
          .recordLimit = 31,
          .summaryHeading = "    PARAMETER   ||",
          .summaryRounded = true,
          .summaryLines =
              {
                  {"Batteriespg. Uo = ", Quantity::Uo, " V |"},
                  {"Anfangsstrom Spule I = ", Quantity::Initial, " A |"},
                  {"Induktivität L  = ", Quantity::Storage, "mH |"},
                  {"Widerstand   R  = ", Quantity::R, " kOhm |"},
                  {"Widerstand   R2 = ", Quantity::R2, " kOhm |"},
                  {"Zeitschritt  dt = ", Quantity::dt, " s |"},
              },
          .switchOnText = "Schalter geschlossen: Die Batterie treibt Strom durch die Spule.",
          .switchOffText = "Schalter offen: Die Batterie ist abgetrennt.",
      },
      DisplayVariant{
          .upperPanelTitle = "Induktions-Spannung",
          .lowerPanelTitle = "Spulen-Strom",
          .storageLabel = "L",
      },
      ToolsVariant{
          .inputRowFactor = 2,
          .dialogs = {{
              {Quantity::Uo, "Batteriespannung Uo < 10V > ", -12, 12, false, false},
              {Quantity::Initial, "Anfangsstrom I = < 0 A > ", -12, 12, false, false},
              {Quantity::R, "Widerstand  R  = < 1 kOhm >", 0.25, 4, true, true},
              {Quantity::R2, "Widerstand  R2 = < 0,1 ...4 kOhm >", 0.099, 4, true, true},
              {Quantity::Storage, "Induktivität L <0.5 ... 4> mH ", 0.5, 4, true, true},
              {Quantity::dt, "Zeitschritt dt = <0.2 s>", 0, 1, false, false},
          }},
          .screenTableHeading = "    t(s)   I(µA)    I.R (V)   U (V)    dI(µA)   I+dI (µA)",
          .printTableHeading = "    t(s)   I(µA)    I.R (V)   U (V)    dI(µA)   I+dI (µA)",
          .screenTableRows = 31,
          .switchOnPicture = "einschemspule.gif",
          .switchOffPicture = "ausschemspule.gif",
          .switchOnPictureText =
              "Bild Spule: Einschalten. Schalter geschlossen (Taste 1). Die Batterie treibt den "
              "Strom I "
              "durch R und L; I steigt bis Uo/R. Pfeile zeigen die technische Stromrichtung.",
          .switchOffPictureText =
              "Bild Spule: Ausschalten. Schalter offen (Taste 0). Die Spule treibt den Strom I "
              "weiter "
              "durch R und R2; I nimmt ab. Pfeile zeigen die technische Stromrichtung.",
      },
      ShellVariant{
          .programName = "coillab",
          .caption = "Ein-/Ausschaltvorgänge bei der Spule",
          .BuiltInTexts = builtInTexts("Anfangsstrom &I", "Induktivität &L",
                                       {
                                           "",
                                           "Durch eine Spule L kann der Spulen-",
                                           "strom I fließen.",
                                           "",
                                           "Fragestellungen",
                                           "- In welchem Stromkreis fließt der",
                                           "Spulenstrom (je nach Schalterstel-",
                                           "lung)? Richtung? Grund?",
                                           "- Wie verändert sich die Induktions-",
                                           "Spannung U im Lauf der Zeit?",
                                           "- Wie verändert sich der Spulenstrom",
                                           "I im Lauf der Zeit; insbesondere",
                                           "nach dem Schließen und nach dem",
                                           "Öffnen des Schalters?",
                                           "- Wovon hängt der maximale Einschalt-",
                                           "strom I durch die Spule ab; wovon",
                                           "der maximale Ausschaltstrom?",
                                           "- Wovon hängt die Spitzenspannung  U",
                                           "unmittelbar nach dem Schließen oder",
                                           "Öffnen des Schalters ab?",
                                           "*",
                                       }),
          .titleThirdLine = "bei der Spule",
          .titleThirdLineX = 38,
      },
  };
  return data;
}

}  // namespace lab
