// The address register window and the form of one address.
#pragma once

#include "registers/addresses.h"
#include "ui/registers/registerwindow.h"

#include <QDialog>
#include <array>
#include <vector>

class QLineEdit;

namespace zorv::ui {

class AddressDetailDialog : public QDialog {
    Q_OBJECT
public:
    explicit AddressDetailDialog(const registers::Address &address, QWidget *parent = nullptr);
    registers::Address result() const;

private:
    registers::Address m_address;
    std::array<QLineEdit *, registers::kAddressFieldCount> m_fields {};
};

class AddressDialog : public RecordListWindow<registers::Address, AddressDetailDialog> {
    Q_OBJECT
public:
    explicit AddressDialog(AppContext &context, QWidget *parent = nullptr);
    const std::vector<registers::Address> &addresses() const { return m_records; }

protected:
    std::string cell(int row, int column) const override;
    QString removeQuestion(int row) const override;
    registers::ListPrintout printout() const override;
};

void showAddressRegister(AppContext &context, QWidget *parent);

} // namespace zorv::ui
