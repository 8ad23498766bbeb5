#include "app/ToolTips.h"

#include "app/FindBar.h"
#include "app/Form1.h"
#include "app/SearchPane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>

namespace {
QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}
} // namespace

void SetToolTips(TForm1& form) {
    form.BView->setToolTip(Text("Náhľad vybraného tlačového súboru (Enter)"));
    form.BOrder->setToolTip(Text("Triediť zoznam podľa dátumu a času alebo podľa názvu"));
    form.BRefr->setToolTip(Text("Znovu načítať zoznam tlačových súborov"));
    form.cbMesiac->setToolTip(
        Text("Zoznam súborov: aktuálny mesiac, kalkulácie jedál alebo archivovaný mesiac"));
    form.BZozn->setToolTip(Text("Späť na zoznam súborov (Esc)"));
    form.BMensie->setToolTip(Text("Menšie písmo náhľadu"));
    form.bVacsie->setToolTip(Text("Väčšie písmo náhľadu"));
    form.EStr1->setToolTip(Text("Od strany: prvá tlačená strana, 1 až 9999"));
    form.EStr2->setToolTip(Text("Po stranu: posledná tlačená strana, 1 až 9999"));
    form.BTlac->setToolTip(Text("Tlačiť vybraný súbor na predvolenej tlačiarni"));
    form.bStop->setToolTip(Text("Ukončiť program"));

    FindBar& find = *form.findBar_;
    find.text_->setToolTip(Text("Hľadaný text (Ctrl+F)"));
    find.next_->setToolTip(Text("Nájsť ďalší výskyt (F3)"));
    find.previous_->setToolTip(Text("Nájsť predchádzajúci výskyt (Shift+F3)"));
    find.matchCase_->setToolTip(Text("Rozlišovať veľké a malé písmená"));
    find.closeButton_->setToolTip(Text("Zavrieť hľadanie (Esc)"));

    SearchPane& search = *form.searchPane_;
    search.text_->setToolTip(Text("Text hľadaný v tlačových súboroch (Ctrl+Shift+F)"));
    search.scope_->setToolTip(
        Text("Kde hľadať: v zvolenom zdroji alebo vo všetkých mesiacoch a kalkuláciách jedál"));
    search.matchCase_->setToolTip(Text("Rozlišovať veľké a malé písmená"));
    search.start_->setToolTip(Text("Hľadať vo všetkých súboroch zdroja (Enter)"));
    search.stop_->setToolTip(Text("Zastaviť hľadanie (Esc)"));
    search.closeButton_->setToolTip(Text("Zavrieť hľadanie a vrátiť sa na zoznam (Esc)"));
    search.results_->setToolTip(Text("Enter alebo dvojklik otvorí súbor na nájdenom mieste"));
}

QString OrientationToolTip(bool portrait) {
    return Text(portrait ? "Orientácia tlače: na výšku (kliknutím na šírku)"
                         : "Orientácia tlače: na šírku (kliknutím na výšku)");
}
