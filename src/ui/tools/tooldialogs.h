// The small dialogs of the many-dive tools: they collect numbers and texts, the tools in core do the work.
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace zorv::ui {

// A form of dive numbers with OK and Annuler: "Numéroter plongées" (one number),
// "Numéroter les plongées" (three) and "Entrée des plongées" (two).
class DiveNumbersDialog : public QDialog {
    Q_OBJECT
public:
    DiveNumbersDialog(
        const QString &title, const QStringList &labels, const QList<int> &values, QWidget *parent = nullptr);
    // The typed numbers, in the order of the labels; empty fields count as 0.
    QList<int> values() const;
    QLineEdit *field(int index) const { return m_fields.value(index); }

private:
    QList<QLineEdit *> m_fields;
};

// "Fuseau horaire": a range of dive numbers and a signed time difference.
class TimeZoneDialog : public QDialog {
    Q_OBJECT
public:
    TimeZoneDialog(int fromNumber, int toNumber, QWidget *parent = nullptr);
    int fromNumber() const;
    int toNumber() const;
    // The difference in minutes, negative for "-"; nullopt when the text is no time.
    std::optional<int> minutes() const;

    void accept() override;

private:
    QLineEdit *m_from;
    QLineEdit *m_to;
    QLineEdit *m_difference;
    QRadioButton *m_plus;
    QRadioButton *m_minus;
};

// "Recherche Plongée": one field and its text, or an activity.
class QuickSearchDialog : public QDialog {
    Q_OBJECT
public:
    // `lists` are the suggestions of place, site, partners and other activities (display text).
    QuickSearchDialog(const std::array<QStringList, 4> &lists, int field, int activity, const QString &text,
        QWidget *parent = nullptr);
    int field() const;
    int activity() const;
    QString text() const;

private:
    void follow();

    std::array<QStringList, 4> m_lists;
    QButtonGroup *m_fields;
    QButtonGroup *m_activities;
    QComboBox *m_text;
};

// "Recherche & Remplacer": the field, the old and the new text, the list of what
// would change, and the two buttons that ask the caller to look and to replace.
class ReplaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReplaceDialog(QWidget *parent = nullptr);
    int field() const;
    QString findText() const;
    QString replacementText() const;
    // Shows what "C&herche" found: two lines per dive; "&Remplacer" follows whether there are any.
    void showFound(const QStringList &lines);
    // After a replacement the list stays, and "&Remplacer" waits for the next search.
    void replaced();
    QPushButton *findButton() const { return m_find; }
    QPushButton *replaceButton() const { return m_replace; }
    QListWidget *list() const { return m_list; }

signals:
    void findRequested();
    void replaceRequested();

private:
    QButtonGroup *m_fields;
    QLineEdit *m_old;
    QLineEdit *m_new;
    QListWidget *m_list;
    QPushButton *m_find;
    QPushButton *m_replace;
};

} // namespace zorv::ui
