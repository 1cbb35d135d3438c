// The certificates window: the diver's certificates and courses with their costs, in the logbook's .inf file.
#pragma once

#include "registers/certificates.h"
#include "ui/registers/registerwindow.h"

class QLabel;
class QLineEdit;

namespace zorv::ui {

class CertificatesDialog : public RegisterWindow {
    Q_OBJECT
public:
    explicit CertificatesDialog(AppContext &context, QWidget *parent = nullptr);
    const registers::CertificateRegister &data() const { return m_register; }

protected:
    int count() const override { return static_cast<int>(m_register.certificates.size()); }
    std::string cell(int row, int column) const override;
    common::Result readFrom(const std::string &path) override;
    common::Result saveTo(const std::string &path) override;
    bool appendRecord() override;
    void removeRecord(int row) override;
    void sortRecords() override;
    registers::ListPrintout printout() const override;
    void refreshSummary() override;

private:
    registers::Certificate &certificate(int row) { return m_register.certificates[static_cast<std::size_t>(row)]; }

    registers::CertificateRegister m_register;
    QLineEdit *m_diver = nullptr;
    QLineEdit *m_club = nullptr;
    QLabel *m_cost = nullptr;
};

void showCertificates(AppContext &context, QWidget *parent);

} // namespace zorv::ui
