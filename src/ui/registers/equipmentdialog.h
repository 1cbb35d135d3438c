// The equipment register window, the item form and the cost summary.
#pragma once

#include "registers/equipment.h"

#include <QDialog>
#include <array>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class QTreeWidget;

namespace zorv::ui {

struct AppContext;
class RegisterListModel;

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

class EquipmentDialog : public QDialog {
    Q_OBJECT
public:
    explicit EquipmentDialog(AppContext &context, QWidget *parent = nullptr);
    ~EquipmentDialog() override;

    const std::vector<registers::EquipmentItem> &items() const { return m_items; }
    const registers::RegisterState &state() const { return m_state; }

    void done(int result) override;

private:
    void load(const std::string &path);
    bool save();
    bool maySave();
    void openFile();
    void addItem();
    void editItem();
    void deleteItem();
    void sortItems();
    void print();
    void showCosts();
    void changed();
    void updateState();

    AppContext &m_context;
    std::vector<registers::EquipmentItem> m_items;
    registers::RegisterState m_state;
    RegisterListModel *m_model = nullptr;
    QTreeView *m_view = nullptr;
    QLabel *m_file = nullptr;
    QCheckBox *m_autocheck = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_details = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_sort = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_cost = nullptr;
};

bool showEquipmentRegister(AppContext &context, QWidget *parent);

// The start-up check: when "Contrôle automatique" is on and an item of the register is due.
bool equipmentServiceDue(const AppContext &context);
void showServiceReminder(QWidget *parent);

} // namespace zorv::ui
