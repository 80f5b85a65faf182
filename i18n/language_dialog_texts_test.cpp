#include "i18n/language_dialog_texts.h"

#include <gtest/gtest.h>

namespace averlune {
namespace {

// The expected words are typed here as plain UTF-8 text, independently of how the program spells them.
const LanguageDialogTexts kTurkish = {u"Dil seçimi",
                                      u"Lütfen kurulum için bir dil seçiniz.",
                                      u"Tamam",
                                      u"Iptal",
                                      u"Yüklemeyi iptal etmek istiyor musunuz?",
                                      u"Dil dosyasi yüklenemedi!"};
const LanguageDialogTexts kGerman = {
    u"Sprachenauswahl",
    u"Bitte wählen Sie eine Sprache aus, die für den Installationsvorgang benutzt werden soll.",
    u"OK",
    u"Abbrechen",
    u"Möchten Sie das Setup abbrechen?",
    u"Die Sprachdatei konnte nicht geladen werden!"};
const LanguageDialogTexts kFrench = {u"Choix de la langue",
                                     u"Choisissez la langue pour la procédure d'installation",
                                     u"OK",
                                     u"Annuler",
                                     u"Voulez vous Annuler l'installation?",
                                     u"Impossible de charger le fichier de langue."};
const LanguageDialogTexts kSpanish = {u"Selección del idioma",
                                      u"Por favor, selecciona un idioma para la instalación.",
                                      u"OK",
                                      u"Cancelar",
                                      u"¿Desea cancelar la instalación?",
                                      u"No se pudo cargar el fichero de idioma."};
const LanguageDialogTexts kEnglish = {u"Language selection",
                                      u"Please select a language for the installation process.",
                                      u"OK",
                                      u"Cancel",
                                      u"Do you want to abort the installation?",
                                      u"Could not load the language file!"};

void expectSet(const LanguageDialogTexts& actual, const LanguageDialogTexts& expected, std::uint16_t id) {
  SCOPED_TRACE(testing::Message() << "language ID 0x" << std::hex << id);
  EXPECT_EQ(actual.title, expected.title);
  EXPECT_EQ(actual.prompt, expected.prompt);
  EXPECT_EQ(actual.okCaption, expected.okCaption);
  EXPECT_EQ(actual.cancelCaption, expected.cancelCaption);
  EXPECT_EQ(actual.abortQuestion, expected.abortQuestion);
  EXPECT_EQ(actual.loadFailure, expected.loadFailure);
}

TEST(ChooseDialogTexts, ThePrimaryLanguageAloneDecidesTheSet) {
  const struct {
    std::uint16_t id;
    const LanguageDialogTexts& set;
  } rows[] = {
      {0x041F, kTurkish},  // Turkish (Turkey)
      {0x001F, kTurkish},  // Turkish without a region
      {0x0407, kGerman},   // German (Germany)
      {0x0807, kGerman},   // German (Switzerland)
      {0x0C07, kGerman},   // German (Austria)
      {0xFC07, kGerman},   // the highest sublanguage bits still leave German
      {0x040C, kFrench},   // French (France)
      {0x0C0C, kFrench},   // French (Canada)
      {0x0C0A, kSpanish},  // Spanish (modern sort)
      {0x080A, kSpanish},  // Spanish (Mexico)
      {0x0413, kEnglish},  // Dutch
      {0x0409, kEnglish},  // English (United States)
      {0x0416, kEnglish},  // Portuguese (Brazil)
      {0x0000, kEnglish},  // neutral
      {0x0107, kEnglish},  // primary language 0x107, not German: all ten bits count
      {0x021F, kEnglish},  // primary language 0x21F, not Turkish
  };
  for (const auto& row : rows) expectSet(chooseDialogTexts(row.id), row.set, row.id);
}

TEST(ChooseDialogTexts, TurkishUsesThePlainLettersIAndI) {
  const LanguageDialogTexts texts = chooseDialogTexts(0x041F);
  EXPECT_EQ(texts.cancelCaption[0], u'I');  // not the dotted capital U+0130
  EXPECT_EQ(texts.loadFailure.find(u'\u0131'), std::u16string::npos);  // no dotless small i
  EXPECT_EQ(texts.loadFailure.substr(4, 7), u"dosyasi");
}

}  // namespace
}  // namespace averlune
