// The menu part of the built-in texts, the same in both programs but for two entries.
#include "variants/variant_data.h"

namespace lab {

std::vector<std::string> builtInTexts(const std::string& initialValueEntry,
                                      const std::string& storageEntry,
                                      const std::vector<std::string>& helpPart) {
  std::vector<std::string> texts = {"DESK |",
                                    "&Quit",
                                    "-------------",
                                    "(Neu-)&Start",
                                    "&Info",
                                    "&Autor",
                                    "*",
                                    "",
                                    "BAUTEILE |",
                                    "W&erte zeigen",
                                    "--------------",
                                    "&Batteriespannung",
                                    initialValueEntry,
                                    "&Widerstand R",
                                    "Widerstand &R2",
                                    storageEntry,
                                    "&Zeitschritt dt",
                                    "*",
                                    "",
                                    "AUSGABE |",
                                    "Zeichnen in &leeres Fenster",
                                    "&Grafik überschreiben",
                                    "&Bildschirm löschen",
                                    "&Hardcopy",
                                    "--------------------",
                                    "Tabelle &zeigen",
                                    "Tabelle &drucken",
                                    "---------------------",
                                    "&Einschalten - Schema zeigen",
                                    "&Ausschalten - Schema zeigen",
                                    "---------------------",
                                    "&Mausmessen",
                                    "*",
                                    "",
                                    "Umschalten - <0> oder <1> ! |",
                                    "&Hilfe",
                                    "*",
                                    "",
                                    "ende"};
  texts.insert(texts.end(), helpPart.begin(), helpPart.end());
  return texts;
}

}  // namespace lab
