// The address register window and the form of one address.
#pragma once

#include "registers/addresses.h"

#include <QDialog>
#include <array>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace zorv::ui {

struct AppContext;
class RegisterListModel;

class AddressDetailDialog : public QDialog {
    Q_OBJECT
public:
    explicit AddressDetailDialog(const registers::Address &address, QWidget *parent = nullptr);
    registers::Address result() const;

private:
    registers::Address m_address;
    std::array<QLineEdit *, registers::kAddressFieldCount> m_fields {};
};

class AddressDialog : public QDialog {
    Q_OBJECT
public:
    explicit AddressDialog(AppContext &context, QWidget *parent = nullptr);
    ~AddressDialog() override;

    const std::vector<registers::Address> &addresses() const { return m_addresses; }
    const registers::RegisterState &state() const { return m_state; }
    void done(int result) override;

private:
    void load(const std::string &path);
    bool save();
    bool maySave();
    void openFile();
    void addAddress();
    void editAddress();
    void deleteAddress();
    void sortAddresses();
    void changed();
    void updateState();

    AppContext &m_context;
    std::vector<registers::Address> m_addresses;
    registers::RegisterState m_state;
    RegisterListModel *m_model = nullptr;
    QTreeView *m_view = nullptr;
    QLabel *m_file = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_details = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_sort = nullptr;
    QPushButton *m_print = nullptr;
};

void showAddressRegister(AppContext &context, QWidget *parent);

} // namespace zorv::ui
