#pragma once

// The keys of the toolbar's buttons and menu items: the toolbar is built with them and the
// dispatcher runs its commands by them.
namespace vastrel::keys {

// Buttons, left to right
inline constexpr char16_t kDatabase[] = u"btnDatenbank";
inline constexpr char16_t kView[] = u"btnAnzeige";
inline constexpr char16_t kEdit[] = u"btnBearbeitung";
inline constexpr char16_t kSort[] = u"btnSortierung";
inline constexpr char16_t kPrint[] = u"btnDrucken";
inline constexpr char16_t kCertificates[] = u"btnUrkundeDrucken";
inline constexpr char16_t kPlaceholder[] = u"btnPlaceholder";
inline constexpr char16_t kInfo[] = u"btnInfo";
inline constexpr char16_t kWeb[] = u"btnHilfe";
inline constexpr char16_t kEnd[] = u"btnEnde";

// "Datenbank"
inline constexpr char16_t kOpen[] = u"btnDbÖffnen";
inline constexpr char16_t kSave[] = u"btnDbSpeichern";
inline constexpr char16_t kSaveAs[] = u"btnDbSpeichernUnter";
inline constexpr char16_t kServerConnect[] = u"btnDbServerVerbinden";
inline constexpr char16_t kServerCreate[] = u"btnDbServerAnlegen";
inline constexpr char16_t kDatabaseEnd[] = u"btnDbEnde";
// The last files opened or saved, newest first.
inline constexpr const char16_t* kRecentFiles[] = {u"btnDbZuletzt1", u"btnDbZuletzt2", u"btnDbZuletzt3",
                                                   u"btnDbZuletzt4", u"btnDbZuletzt5"};

// "Anzeige"
inline constexpr char16_t kViewDay1[] = u"btnAnz1Tag";
inline constexpr char16_t kViewDay2[] = u"btnAnz2Tag";
inline constexpr char16_t kViewDay3[] = u"btnAnz3Tag";
inline constexpr char16_t kViewDay4[] = u"btnAnz4Tag";
inline constexpr char16_t kViewAll[] = u"btnAnzAlles";

// "Bearbeitung"
inline constexpr char16_t kAgeFactorsWithout[] = u"btnBeAfOhne";
inline constexpr char16_t kAgeFactorsWith[] = u"btnBeAfMit";
inline constexpr char16_t kRecalculate[] = u"btnBePunkte";
inline constexpr char16_t kDeleteRows[] = u"btnBeLö";
inline constexpr char16_t kAppendRow[] = u"btnBeAnf";
inline constexpr char16_t kClearRunData[] = u"btnLöscheLaufdaten";
inline constexpr char16_t kUndo[] = u"btnRückgängig";
inline constexpr char16_t kRedo[] = u"btnWiederholen";
inline constexpr char16_t kReadTimes[] = u"btnBeZeitenEinlesen";
inline constexpr char16_t kWatchTimes[] = u"btnBeZeitenordner";

// "Sortierung"
inline constexpr char16_t kSortTotal[] = u"btnSort1";
inline constexpr char16_t kSortSexTotal[] = u"btnSort2";
inline constexpr char16_t kSortNameTotal[] = u"btnSort3";
inline constexpr char16_t kSortRunTotal[] = u"btnSort4";
inline constexpr char16_t kSortRunName[] = u"btnSort5";
inline constexpr char16_t kSortRunSexTotal[] = u"btnSort6";

// "Druckvorschau"
inline constexpr char16_t kPrintAll[] = u"btnDruckenAlles";
inline constexpr char16_t kPrintSelection[] = u"btnDruckenAuswahl";
inline constexpr char16_t kShortPrint[] = u"btnKurzdruck";
inline constexpr char16_t kLiveResults[] = u"btnLiveErgebnisse";
inline constexpr char16_t kLiveFiles[] = u"btnLiveDateien";

// "Urkunde"
inline constexpr char16_t kCertificateDay1[] = u"Urkunde1Tag";
inline constexpr char16_t kCertificateDay2[] = u"Urkunde2Tag";
inline constexpr char16_t kCertificateDay3[] = u"Urkunde3Tag";
inline constexpr char16_t kCertificateDay4[] = u"Urkunde4Tag";
inline constexpr char16_t kCertificateAllDays[] = u"UrkundeAlles";
inline constexpr char16_t kCertificateComplete[] = u"UrkundeKomplett";
inline constexpr char16_t kCertificatePdf[] = u"UrkundePdf";

} // namespace vastrel::keys
