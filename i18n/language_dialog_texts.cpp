#include "i18n/language_dialog_texts.h"

namespace averlune {
namespace {

// Primary language numbers of the Windows language IDs.
constexpr std::uint16_t kTurkish = 0x1F;
constexpr std::uint16_t kGerman = 0x07;
constexpr std::uint16_t kFrench = 0x0C;
constexpr std::uint16_t kSpanish = 0x0A;

// The Turkish set keeps the plain letters I and i of "Iptal" and "dosyasi" as setups have always
// shown them.
LanguageDialogTexts turkish() {
  return {u"Dil se\u00E7imi",
          u"L\u00FCtfen kurulum i\u00E7in bir dil se\u00E7iniz.",
          u"Tamam",
          u"Iptal",
          u"Y\u00FCklemeyi iptal etmek istiyor musunuz?",
          u"Dil dosyasi y\u00FCklenemedi!"};
}

LanguageDialogTexts german() {
  return {u"Sprachenauswahl",
          u"Bitte w\u00E4hlen Sie eine Sprache aus, die f\u00FCr den Installationsvorgang benutzt werden soll.",
          u"OK",
          u"Abbrechen",
          u"M\u00F6chten Sie das Setup abbrechen?",
          u"Die Sprachdatei konnte nicht geladen werden!"};
}

LanguageDialogTexts french() {
  return {u"Choix de la langue",
          u"Choisissez la langue pour la proc\u00E9dure d'installation",
          u"OK",
          u"Annuler",
          u"Voulez vous Annuler l'installation?",
          u"Impossible de charger le fichier de langue."};
}

LanguageDialogTexts spanish() {
  return {u"Selecci\u00F3n del idioma",
          u"Por favor, selecciona un idioma para la instalaci\u00F3n.",
          u"OK",
          u"Cancelar",
          u"\u00BFDesea cancelar la instalaci\u00F3n?",
          u"No se pudo cargar el fichero de idioma."};
}

LanguageDialogTexts english() {
  return {u"Language selection",
          u"Please select a language for the installation process.",
          u"OK",
          u"Cancel",
          u"Do you want to abort the installation?",
          u"Could not load the language file!"};
}

}  // namespace

LanguageDialogTexts chooseDialogTexts(std::uint16_t languageId) {
  switch (languageId & 0x3FF) {
    case kTurkish:
      return turkish();
    case kGerman:
      return german();
    case kFrench:
      return french();
    case kSpanish:
      return spanish();
    default:
      return english();
  }
}

}  // namespace averlune
