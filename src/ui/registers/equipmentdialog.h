// The equipment register window, the item form and the cost summary.
#pragma once

#include "registers/equipment.h"
#include "ui/registers/registerwindow.h"

#include <QDialog>
#include <array>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QTreeWidget;

namespace zorv::ui {

// "Equipement": one item, edited on a copy; result() after OK.
class EquipmentItemDialog : public QDialog {
    Q_OBJECT
public:
    explicit EquipmentItemDialog(const registers::EquipmentItem &item, QWidget *parent = nullptr);
    registers::EquipmentItem result() const;

private:
    registers::EquipmentItem m_item;
    QButtonGroup *m_category = nullptr;
    std::vector<std::pair<QLineEdit *, std::string registers::EquipmentItem::*>> m_texts;
    std::array<QLineEdit *, 4> m_dates {};
    QLineEdit *m_price = nullptr;
    QLineEdit *m_service = nullptr;
    QCheckBox *m_remind = nullptr;
};

// "Coût de l'équipement": totals per category, for all users or one.
class EquipmentCostDialog : public QDialog {
    Q_OBJECT
public:
    EquipmentCostDialog(
        const std::vector<registers::EquipmentItem> &items, const std::string &currency, QWidget *parent = nullptr);

private:
    void refill();

    const std::vector<registers::EquipmentItem> &m_items;
    std::vector<std::string> m_users;
    std::string m_currency;
    QComboBox *m_user = nullptr;
    QTreeWidget *m_table = nullptr;
};

class EquipmentDialog : public RecordListWindow<registers::EquipmentItem, EquipmentItemDialog> {
    Q_OBJECT
public:
    explicit EquipmentDialog(AppContext &context, QWidget *parent = nullptr);
    const std::vector<registers::EquipmentItem> &items() const { return m_records; }

protected:
    std::string cell(int row, int column) const override;
    QString removeQuestion(int row) const override;
    registers::ListPrintout printout() const override;
};

bool showEquipmentRegister(AppContext &context, QWidget *parent);

// The start-up check: when "Contrôle automatique" is on and an item of the register is due.
bool equipmentServiceDue(const AppContext &context);
void showServiceReminder(QWidget *parent);

} // namespace zorv::ui
