// The window that receives a dive computer's memory over the serial link and takes its new dives into the logbook.
#pragma once

#include "transfer/memoryimage.h"
#include "transfer/receiver.h"
#include "transfer/seriallink.h"
#include "transfer/transferlist.h"

#include <QDialog>
#include <QElapsedTimer>
#include <array>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QGroupBox;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace zorv::ui {

struct AppContext;

/*
 * All serial work runs on the user-interface thread from a timer that reads what is
 * waiting and returns, so the window keeps painting during a capture. The status
 * fields follow the receiver: they are refreshed in the same step that changes it.
 * The link is opened by the constructor; it stays open until the dialog goes.
 */
class TransferDialog : public QDialog {
    Q_OBJECT
public:
    TransferDialog(AppContext &context, std::unique_ptr<transfer::SerialLink> link, QWidget *parent = nullptr);
    ~TransferDialog() override;

    // False when the port could not be opened; checkPort() then says so, and the dialog is not shown.
    bool portReady() const { return m_portReady; }
    bool checkPort();

    // Where the dump of each capture is written and "dump.dmp" is looked for:
    // beside the logbook, else the current directory.
    static QString dumpFolder(const AppContext &context);

    bool accepted() const { return m_accepted; }
    int newDiveCount() const;
    const transfer::Receiver &receiver() const { return m_receiver; }

public slots:
    void reject() override;

private:
    void buildLayout();
    void pollLink();
    void refreshStatus();
    void finishCapture();
    void loadDumpFile();
    bool processImage(std::span<const std::uint8_t> image);
    void fillList();
    void acceptDives();
    void showInfoTexts(const transfer::InfoTexts &texts);
    std::int64_t nowMs() const { return m_clock.elapsed(); }

    // What of the receiver the status fields show; a change of any of it repaints them.
    struct Shown {
        bool connected = false;
        bool blink = false;
        bool running = false;
        bool failed = false;
        bool portError = false;
        int progress = 0;

        bool operator==(const Shown &) const = default;
    };
    static Shown shownOf(const transfer::Receiver &receiver);

    AppContext &m_context;
    std::unique_ptr<transfer::SerialLink> m_link;
    transfer::Receiver m_receiver;
    transfer::MemoryImage m_memory;
    QElapsedTimer m_clock;
    bool m_portReady = false;
    bool m_processed = false;
    bool m_accepted = false;
    transfer::NewDives m_newDives;
    std::optional<std::uint8_t> m_computerType;
    int m_batteryPercent = -1;

    QTimer *m_receiveTimer = nullptr;
    Shown m_shown;
    QWidget *m_linkRow = nullptr; // hidden once an image is in
    QLabel *m_connection = nullptr;
    QLabel *m_comPort = nullptr;
    QLabel *m_portError = nullptr;
    QLabel *m_state = nullptr;
    QProgressBar *m_progress = nullptr;
    QTreeWidget *m_list = nullptr;
    QGroupBox *m_infoGroup = nullptr;
    std::array<QLineEdit *, transfer::kInfoFieldCount> m_info {};
    QPushButton *m_acceptButton = nullptr;
    QPushButton *m_testButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};

// Opens the configured port and runs the dialog. True when dives were taken into the logbook.
bool showTransferDialog(AppContext &context, QWidget *parent);

} // namespace zorv::ui
