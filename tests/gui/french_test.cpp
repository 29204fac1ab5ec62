// The interface in French for a French user: Quillory's texts and Qt's own, while the error report
// keeps the parts that support reads (tag, line, address) as they are in every language.
#include "mainwindowfixture.h"

#include "ui/translations.h"
#include "widgets/editmenu.h"

#include <QAction>

#include <QLineEdit>
#include <QPushButton>

namespace quillory::test {
namespace {

class FrenchTest : public MainWindowFixture {
protected:
    FrenchTest() { EXPECT_TRUE(installTranslations(QLocale(QLocale::French, QLocale::France))); }
    ~FrenchTest() override { removeTranslations(); }

    QString caption(const char* name) { return qobject_cast<QAbstractButton*>(control(name))->text(); }
    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }
};

TEST_F(FrenchTest, ControlsMessagesAndQtsDialogsSpeakFrench) {
    MainWindow& window = loadAndShow();
    EXPECT_EQ(caption("PushButton1"), QStringLiteral("Lancer la génération"));
    EXPECT_EQ(caption("Option9"), QStringLiteral("Liste de Halvard – Noms tirés au hasard de ma liste"));
    EXPECT_EQ(window.listView1()->toolTip(),
              QStringLiteral("Tirez le trait | vers la droite, hors de la fenêtre, pour voir les noms en entier."));
    EXPECT_EQ(window.listView2()->items().headerText(), QStringLiteral("Noms de famille"));
    // Every French caption has the room to show in full.
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->text().isEmpty()) {
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), captionRoom(button))
                << button->text().toStdString();
        }
    }
    // Each menu's letters, chosen for French, lead to one item each.
    EXPECT_EQ(sharedMnemonics(&window), QStringList());
    EXPECT_EQ(sharedMnemonics(&results()), QStringList());
    EXPECT_EQ(window.editMenu().undo()->text(), QStringLiteral("&Annuler"));
    click("Option8");
    EXPECT_EQ(caption("PushButton4"), QStringLiteral("Vider"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuler"));

    window.text1()->setText(QStringLiteral("beaucoup"));
    click("PushButton1");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Le nombre de noms demandé ne semble pas être un nombre."));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Quillory"));

    dialogs.answerOpenFiles({QStringLiteral(QUILLORY_WORKER)});
    click("PushButton6");
    EXPECT_EQ(dialogs.messages.back().title, QStringLiteral("Application Error"));
    EXPECT_EQ(dialogs.messages.back().text,
              QStringLiteral("Ce n’est pas un fichier texte\r\nin Tarvisk2021/08/31.Main.FileToListview at line 108\r\r"
                             "Please email screenshot of this message to support@obrenna.fr"));
}

} // namespace
} // namespace quillory::test
