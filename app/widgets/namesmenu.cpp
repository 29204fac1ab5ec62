#include "namesmenu.h"

#include "core/appinfo.h"
#include "core/dialogs.h"
#include "core/errorreport.h"
#include "core/guard.h"
#include "core/procedures.h"
#include "core/random.h"
#include "core/settings.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>

namespace quillory {

namespace {

QString tagOf(const char* procedure) {
    return ErrorLocationTag(QStringLiteral("Form1"), QString::fromUtf8(procedure));
}

// What is wrong with years typed in "Born In…", or nothing.
QString yearsProblem(const QString& text) {
    const std::variant<BirthYears, YearsProblem> years = birthYearsFrom(text);
    if (std::holds_alternative<BirthYears>(years))
        return {};
    switch (std::get<YearsProblem>(years)) {
    case YearsProblem::OutOfRange:
        return QCoreApplication::translate("Form1", "The years of birth run from %1 to %2.")
            .arg(kFirstBirthYear)
            .arg(kLastBirthYear);
    case YearsProblem::Backwards:
        return QCoreApplication::translate("Form1", "The first year comes after the last.");
    case YearsProblem::NotYears:
        break;
    }
    return QCoreApplication::translate("Form1", "A year, such as 1954, or two years, such as 2000-2009.");
}

// What is wrong with ages typed in "People Of Today…", or nothing.
QString agesProblem(const QString& text) {
    const std::variant<AgeRange, AgesProblem> ages = agesFrom(text);
    if (std::holds_alternative<AgeRange>(ages))
        return {};
    if (std::get<AgesProblem>(ages) == AgesProblem::OutOfRange)
        return QCoreApplication::translate("Form1", "Ages run from 0 to %1.").arg(kOldestAge);
    if (std::get<AgesProblem>(ages) == AgesProblem::Backwards)
        return QCoreApplication::translate("Form1", "The first age is above the last.");
    return QCoreApplication::translate("Form1", "An age, such as 30, or two ages, such as 18-65 (0-110 for all).");
}

QString seedProblem(const QString& text) {
    return seedFromText(text.trimmed())
               ? QString()
               : QCoreApplication::translate("Form1", "A whole number from 0 to 18446744073709551615.");
}

} // namespace

NamesMenu::NamesMenu(AppContext& context, QMenuBar* bar, QRadioButton* userList, QString helpText, QObject* parent)
    : QObject(parent), m_context(context), m_userList(userList), m_helpText(std::move(helpText)) {
    QMenu* names = bar->addMenu(QCoreApplication::translate("Form1", "&Names"));
    names->setObjectName(QStringLiteral("mnuNames"));
    m_commonNames = names->addAction(QCoreApplication::translate("Form1", "&Common Names More Often"));
    m_bornIn = names->addAction(QCoreApplication::translate("Form1", "&Born In…"));
    m_peopleOfToday = names->addAction(QCoreApplication::translate("Form1", "&People Of Today…"));
    m_noRepeats = names->addAction(QCoreApplication::translate("Form1", "&No Repeated Names"));
    m_keepSpaces = names->addAction(QCoreApplication::translate("Form1", "&Keep Spaces Inside Names"));
    names->addSeparator();
    m_sameNames = names->addAction(QCoreApplication::translate("Form1", "&Same Names Each Time…"));
    QMenu* help = bar->addMenu(QCoreApplication::translate("Form1", "&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    m_help = help->addAction(QCoreApplication::translate("Form1", "&Help"));
    m_about = help->addAction(QCoreApplication::translate("Form1", "&About Quillory"));
    for (QAction* action : {m_commonNames, m_noRepeats, m_keepSpaces})
        action->setCheckable(true);
    m_commonNames->setObjectName(QStringLiteral("mnuCommonNames"));
    m_bornIn->setObjectName(QStringLiteral("mnuBornIn"));
    m_peopleOfToday->setObjectName(QStringLiteral("mnuPeopleOfToday"));
    m_noRepeats->setObjectName(QStringLiteral("mnuNoRepeats"));
    m_keepSpaces->setObjectName(QStringLiteral("mnuKeepSpaces"));
    m_sameNames->setObjectName(QStringLiteral("mnuSameNames"));

    connect(m_commonNames, &QAction::triggered, this, [this] {
        toggled(m_commonNames, "mnuCommonNames_Click", drawkeys::kCommonNames, &DrawChoices::commonNames);
    });
    connect(m_noRepeats, &QAction::triggered, this,
            [this] { toggled(m_noRepeats, "mnuNoRepeats_Click", drawkeys::kNoRepeats, &DrawChoices::noRepeats); });
    connect(m_keepSpaces, &QAction::triggered, this,
            [this] { toggled(m_keepSpaces, "mnuKeepSpaces_Click", drawkeys::kKeepSpaces, &DrawChoices::keepSpaces); });
    connect(m_bornIn, &QAction::triggered, this, &NamesMenu::bornInClick);
    connect(m_peopleOfToday, &QAction::triggered, this, &NamesMenu::peopleOfTodayClick);
    connect(m_sameNames, &QAction::triggered, this, &NamesMenu::sameNamesClick);
    connect(m_help, &QAction::triggered, this, [this] {
        Guard g(m_context.dialogs, tagOf("mnuHelp_Click"));
        g.step(100, [&] { m_context.dialogs.message(applicationTitle(), m_helpText, MessageIcon::None); });
    });
    connect(m_about, &QAction::triggered, this, [this] {
        Guard g(m_context.dialogs, tagOf("mnuAbout_Click"));
        g.step(100, [&] {
            m_context.dialogs.message(QCoreApplication::translate("Form1", "About Quillory"), aboutText(),
                                      MessageIcon::Information);
        });
    });
    // The years of birth belong to Halvard's List.
    connect(m_userList, &QRadioButton::toggled, this, [this] { showChoices(); });
    showChoices();
}

QString NamesMenu::aboutText() {
    return appinfo::kDisplayName + QLatin1Char(' ') + appinfo::kVersion + QStringLiteral("\r\r") +
           QCoreApplication::translate(
               "Form1", "Random French personal names, drawn from the built-in names or from your own.") +
           QStringLiteral("\r\r") +
           QCoreApplication::translate(
               "Form1", "The built-in names and their births come from INSEE, the French national statistics office "
                        "(Source : INSEE), under the Licence Ouverte / Open Licence 2.0.") +
           QStringLiteral("\r\r") +
           QCoreApplication::translate("Form1", "The people of today follow the population of France by sex and age "
                                                "(Source : Insee, estimations de population au 1er janvier 2026).") +
           QStringLiteral("\r\r") +
           QCoreApplication::translate("Form1",
                                       "The places come from INSEE and La Poste (Source : INSEE, Code officiel "
                                       "géographique 2026 et populations légales 2023 ; La Poste, base "
                                       "officielle des codes postaux. Licence Ouverte / Open Licence 2.0).");
}

void NamesMenu::restore() {
    m_choices = DrawChoices::read(m_context.settings);
    showChoices();
}

void NamesMenu::showChoices() {
    m_commonNames->setChecked(m_choices.commonNames);
    m_noRepeats->setChecked(m_choices.noRepeats);
    m_keepSpaces->setChecked(m_choices.keepSpaces);
    const std::optional<BirthYears> years = m_choices.bornYears();
    m_bornIn->setText(years ? QCoreApplication::translate("Form1", "&Born In %1…").arg(birthYearsText(*years))
                            : QCoreApplication::translate("Form1", "&Born In…"));
    m_bornIn->setEnabled(!m_userList->isChecked());
    const std::optional<AgeRange> ages = m_choices.todayAges();
    m_peopleOfToday->setText(ages ? QCoreApplication::translate("Form1", "&People Of Today (%1)…").arg(agesText(*ages))
                                  : QCoreApplication::translate("Form1", "&People Of Today…"));
    // The User List's names have no years, and its people none either.
    m_peopleOfToday->setEnabled(!m_userList->isChecked());
    m_sameNames->setText(
        m_choices.seed ? QCoreApplication::translate("Form1", "&Same Names Each Time (Seed %1)…").arg(*m_choices.seed)
                       : QCoreApplication::translate("Form1", "&Same Names Each Time…"));
}

void NamesMenu::toggled(QAction* action, const char* procedure, const QString& key, bool DrawChoices::*member) {
    Guard g(m_context.dialogs, tagOf(procedure));
    m_choices.*member = action->isChecked();
    g.step(100, [&] { m_context.settings.StoreSetting(key, truthText(m_choices.*member)); });
}

void NamesMenu::bornInClick() {
    Guard g(m_context.dialogs, tagOf("mnuBornIn_Click"));
    std::optional<QString> answer;
    g.step(100, [&] {
        answer = m_context.dialogs.askValue({QCoreApplication::translate("Form1", "Born In"),
                                             QCoreApplication::translate("Form1", "&Any year"),
                                             QCoreApplication::translate("Form1", "&In the years"), m_choices.bornIn,
                                             QStringLiteral("1954, 2000-2009"), yearsProblem});
    });
    if (!answer)
        return;
    m_choices.bornIn = *answer;
    showChoices();
    g.step(102, [&] { m_context.settings.StoreSetting(drawkeys::kBornIn, m_choices.bornIn); });
}

void NamesMenu::peopleOfTodayClick() {
    Guard g(m_context.dialogs, tagOf("mnuPeopleOfToday_Click"));
    std::optional<QString> answer;
    g.step(100, [&] {
        answer = m_context.dialogs.askValue({QCoreApplication::translate("Form1", "People Of Today"),
                                             QCoreApplication::translate("Form1", "&Any age"),
                                             QCoreApplication::translate("Form1", "&Alive today, aged"),
                                             m_choices.peopleOfToday, QStringLiteral("18-65"), agesProblem});
    });
    if (!answer)
        return;
    m_choices.peopleOfToday = *answer;
    showChoices();
    g.step(102, [&] { m_context.settings.StoreSetting(drawkeys::kPeopleOfToday, m_choices.peopleOfToday); });
}

void NamesMenu::sameNamesClick() {
    Guard g(m_context.dialogs, tagOf("mnuSameNames_Click"));
    std::optional<QString> answer;
    g.step(100, [&] {
        const QString current = m_choices.seed ? QString::number(*m_choices.seed) : QString();
        answer = m_context.dialogs.askValue({QCoreApplication::translate("Form1", "Same Names Each Time"),
                                             QCoreApplication::translate("Form1", "A &new seed for every run"),
                                             QCoreApplication::translate("Form1", "&Seed"), current,
                                             QStringLiteral("8312046570012345"), seedProblem});
    });
    if (!answer)
        return;
    m_choices.seed = seedFromText(answer->trimmed());
    showChoices();
    g.step(102, [&] {
        m_context.settings.StoreSetting(drawkeys::kSeed, m_choices.seed ? QString::number(*m_choices.seed) : QString());
    });
}

} // namespace quillory
