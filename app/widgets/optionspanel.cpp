#include "optionspanel.h"

#include "core/dialogs.h"
#include "core/errorreport.h"
#include "core/guard.h"
#include "core/procedures.h"
#include "core/settings.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

namespace quillory {

namespace {

// With a guard (a handler the user started) each step is reported on failure and the next one runs;
// without one (the restore at start-up) the first failure ends the behaviour and goes to the caller.
template <typename Action> void runStep(Guard* guard, int line, Action&& action) {
    if (guard != nullptr)
        guard->step(line, std::forward<Action>(action));
    else
        action();
}

QString clearCaption() {
    return QCoreApplication::translate("Form1", "Clear");
}

QString deleteCaption() {
    return QCoreApplication::translate("Form1", "Delete");
}

} // namespace

OptionsPanel::OptionsPanel(AppContext& context, const QHash<QString, QWidget*>& controls,
                           std::function<void()> fillNameLists, QObject* parent)
    : QObject(parent), m_context(context), m_controls(controls), m_fillNameLists(std::move(fillNameLists)),
      m_text1(qobject_cast<QLineEdit*>(controls.value(QStringLiteral("Text1")))) {
    for (const char* name : {"Option1", "Option2", "Option3", "Option4", "Option5", "Option6", "Option8", "Option9"}) {
        QRadioButton* radio = option(name);
        connect(radio, &QAbstractButton::toggled, this, [this, radio](bool on) {
            if (on && !m_restoring)
                optionSwitchedOn(radio);
        });
    }
    connect(m_text1, &QLineEdit::textChanged, this, [this] {
        if (!m_restoring)
            countChanged();
    });
    connect(button("PushButton8"), &QAbstractButton::clicked, this, &OptionsPanel::helpClick);
}

QRadioButton* OptionsPanel::option(const char* name) const {
    return qobject_cast<QRadioButton*>(m_controls.value(QString::fromUtf8(name)));
}

NamePart OptionsPanel::namePart() const {
    if (option("Option4")->isChecked())
        return NamePart::FirstAndLast;
    if (option("Option5")->isChecked())
        return NamePart::FirstOnly;
    if (option("Option6")->isChecked())
        return NamePart::LastOnly;
    return NamePart::None;
}

QPushButton* OptionsPanel::button(const char* name) const {
    return qobject_cast<QPushButton*>(m_controls.value(QString::fromUtf8(name)));
}

ListChoice OptionsPanel::listChoice() const {
    ListChoice choice;
    if (option("Option8")->isChecked())
        choice.source = NameSource::UserList;
    else if (option("Option9")->isChecked())
        choice.source = NameSource::HalvardsList;
    if (option("Option1")->isChecked())
        choice.gender = GenderChoice::Both;
    else if (option("Option2")->isChecked())
        choice.gender = GenderChoice::MaleOnly;
    else if (option("Option3")->isChecked())
        choice.gender = GenderChoice::FemaleOnly;
    return choice;
}

void OptionsPanel::setOption(QRadioButton* option, bool on) {
    if (option->isChecked() == on)
        return;
    // An exclusive group refuses to switch its selected option off; a stored "False" still does,
    // and may leave the group with no option on.
    QButtonGroup* group = option->group();
    const bool exclusive = group != nullptr && group->exclusive();
    if (!on && exclusive)
        group->setExclusive(false);
    option->setChecked(on);
    if (!on && exclusive)
        group->setExclusive(true);
}

void OptionsPanel::restoreOption(const QString& name, const QString& defaultText) {
    QRadioButton* radio = qobject_cast<QRadioButton*>(m_controls.value(name));
    const bool on = truthFromText(m_context.settings.ReadSetting(name, defaultText));
    const bool wasOn = radio->isChecked();
    {
        const QScopedValueRollback restoring(m_restoring, true);
        setOption(radio, on);
    }
    if (on && !wasOn)
        runClick(radio, nullptr);
}

void OptionsPanel::restoreCount() {
    {
        const QScopedValueRollback restoring(m_restoring, true);
        m_text1->setText(m_context.settings.ReadSetting(kCountKey, kCountDefault));
    }
    m_context.settings.StoreSetting(kCountKey, m_text1->text());
}

void OptionsPanel::optionSwitchedOn(QRadioButton* radio) {
    Guard guard(m_context.dialogs,
                ErrorLocationTag(QStringLiteral("Form1"), radio->objectName() + QStringLiteral("_Click")));
    runClick(radio, &guard);
}

void OptionsPanel::runClick(QRadioButton* radio, Guard* guard) {
    const QString name = radio->objectName();
    if (name == QLatin1String("Option8") || name == QLatin1String("Option9"))
        sourceClick(guard);
    else if (name == QLatin1String("Option1") || name == QLatin1String("Option2") || name == QLatin1String("Option3"))
        genderClick(guard);
    else
        partOfNameClick(guard);
}

void OptionsPanel::storeOptions(Guard* guard, int line, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        runStep(guard, line, [&] {
            m_context.settings.StoreSetting(QString::fromUtf8(name), truthText(option(name)->isChecked()));
        });
        line += 2;
    }
}

void OptionsPanel::sourceClick(Guard* guard) {
    const bool userList = option("Option8")->isChecked();
    runStep(guard, 100, [&] { button("PushButton4")->setText(userList ? clearCaption() : deleteCaption()); });
    runStep(guard, 102, [&] { button("PushButton3")->setText(userList ? clearCaption() : deleteCaption()); });
    storeOptions(guard, 104, {"Option9", "Option8"});
    runStep(guard, 108, [&] {
        // The gender applies to Halvard's List only; the User List has no gender and greys it out,
        // keeping each option's state for the return to Halvard's List.
        for (const char* gender : {"Option1", "Option2", "Option3"})
            option(gender)->setEnabled(!userList);
        if (userList) {
            for (const char* name :
                 {"PushButton2", "PushButton3", "PushButton4", "PushButton5", "PushButton6", "PushButton7"})
                button(name)->setEnabled(true);
        }
    });
    runStep(guard, 110, [&] { m_fillNameLists(); });
}

void OptionsPanel::genderClick(Guard* guard) {
    storeOptions(guard, 100, {"Option1", "Option2", "Option3"});
    runStep(guard, 106, [&] { m_fillNameLists(); });
}

void OptionsPanel::partOfNameClick(Guard* guard) {
    // The lists do not depend on the part of name: nothing is refilled.
    storeOptions(guard, 100, {"Option4", "Option5", "Option6"});
}

void OptionsPanel::countChanged() {
    // Stored on every change, as typed and unchecked: the count is validated when a run starts.
    Guard guard(m_context.dialogs, ErrorLocationTag(QStringLiteral("Form1"), QStringLiteral("Text1_Change")));
    guard.step(100, [&] { m_context.settings.StoreSetting(kCountKey, m_text1->text()); });
}

QString OptionsPanel::helpText() {
    return QCoreApplication::translate("Form1", "You have two options for generating: ") + QStringLiteral("\r\r") +
           QCoreApplication::translate(
               "Form1",
               "1. You can generate from Halvard's List which contains my collection of first and last names.") +
           QStringLiteral("\r\r") +
           QCoreApplication::translate("Form1", "2. You can generate using your User List. In this case, names can be "
                                                "loaded from a text file or added one at a time.");
}

void OptionsPanel::helpClick() {
    Guard guard(m_context.dialogs, ErrorLocationTag(QStringLiteral("Form1"), QStringLiteral("PushButton8_Click")));
    guard.step(100, [&] { m_context.dialogs.message(applicationTitle(), helpText(), MessageIcon::None); });
}

} // namespace quillory
