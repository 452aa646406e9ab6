// The capacitor program: texts, start-up values, ranges and limits.
#include "variants/variant_data.h"

namespace lab {

const VariantData& capacitorVariant() {
  static const VariantData data{
      ModelVariant{
          .kind = CircuitVariant::Capacitor,
          .defaults = {.Uo = 10,
                       .Initial = 0,
                       .R = 1,
                       .R2 = 1,
                       .Storage = 1,
                       .dt = 0.05,
                       .RSum = 2,
                       .InvL = 1,
                       .InvR = 1,
                       .InvRSum = 0.5,
                       .InvC = 1,
                       .RestartVoltage = 0},
          .recordLimit = 26,
          .summaryHeading = "",
          .summaryRounded = false,
          .summaryLines =
              {
                  {"Batteriespannung Uo = ", Quantity::Uo, " V|"},
                  {"Anfangsspannung/Kondensator U = ", Quantity::Initial, " V|"},
                  {"Kapazität C = ", Quantity::Storage, "µF|"},
                  {"Widerstand R = ", Quantity::R, " MOhm|"},
                  {"Widerstand R2 = ", Quantity::R2, " MOhm|"},
                  {"Zeitschritt dt = ", Quantity::dt, " s|"},
              },
          .switchOnText = "Schalter in Stellung 1: Die Batterie lädt den Kondensator.",
          .switchOffText = "Schalter in Stellung 0: Der Kondensator entlädt sich über R und R2.",
      },
      DisplayVariant{
          .upperPanelTitle = "Kondensator-Spannung",
          .lowerPanelTitle = "Kondensator-Strom",
          .storageLabel = "C",
      },
      ToolsVariant{
          .inputRowFactor = 1,
          .dialogs = {{
              {Quantity::Uo, "Batteriespannung Uo <10V> ", -12, 12, false, false},
              {Quantity::Initial, "Anfangsspannung U <0V> ", -12, 12, false, false},
              {Quantity::R, "Widerstand  R  = < 1 MOhm >", 0.25, 4, true, true},
              {Quantity::R2, "Widerstand  R2 = < 1-4 MOhm >", 0, 4, true, true},
              {Quantity::Storage, "Kapazität C <0.5 ... 4> µF ", 0.5, 4, true, true},
              {Quantity::dt, "Zeitschritt dt = <0.2 s>", 0, 1, false, false},
          }},
          .screenTableHeading = "   t(s)    U(V)    Uo-U (V)   I(µA)   dU(V)  U+dU ",
          .printTableHeading = "  t(s)       U(V)   Uo-U  I(µA)   dU(V)  U+dU ",
          .screenTableRows = 26,
          .switchOnPicture = "einschemkond.gif",
          .switchOffPicture = "ausschemkond.gif",
          .switchOnPictureText = "Bild Kondensator: Einschalten. Schalter in Stellung 1 (Taste 1). "
                                 "Die Batterie lädt C über "
                                 "R auf; I nimmt ab. Pfeile zeigen die technische Stromrichtung.",
          .switchOffPictureText =
              "Bild Kondensator: Ausschalten. Schalter in Stellung 0 (Taste 0). C entlädt sich "
              "über R "
              "und R2; I fließt umgekehrt. Pfeile zeigen die technische Stromrichtung.",
      },
      ShellVariant{
          .programName = "caplab",
          .caption = "Ein-/Ausschaltvorgänge beim Kondensator",
          .BuiltInTexts = builtInTexts("&Anfangsspannung", "Kapazität &C",
                                       {
                                           "",
                                           "Ein Kondensator C wird über einen",
                                           "Widerstand R geladen und über die",
                                           "Widerstände R und R´ entladen.",
                                           "",
                                           "",
                                           "Fragestellungen -",
                                           "",
                                           "",
                                           "- In welchem Stromkreis fließt der",
                                           "Ladestrom? In welchem der Entlade-",
                                           "strom? Richtung jeweils?",
                                           "- Wie verändert sich die Kondensator-",
                                           "Spannung im Lauf der Zeit?",
                                           "- Wie verändert sich der Lade- und der",
                                           "Entladestrom im Lauf der Zeit?",
                                           "- Wovon hängt die maximale Ladespan-",
                                           "nung des Kondensators ab?",
                                           "- Wovon hängt die Spitzenstromstärke",
                                           "unmittelbar nach dem Schließen oder",
                                           "Öffnen des Schalters ab?",
                                           "*",
                                       }),
          .titleThirdLine = "am Kondensator",
          .titleThirdLineX = 32,
      },
  };
  return data;
}

}  // namespace lab
