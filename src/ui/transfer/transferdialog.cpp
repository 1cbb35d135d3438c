#include "ui/transfer/transferdialog.h"

#include "common/atomicfile.h"
#include "common/cformat.h"
#include "common/strings.h"
#include "qtglue/qcolour.h"
#include "serial/qtseriallink.h"
#include "transfer/transferstatus.h"
#include "ui/common/appcontext.h"
#include "ui/common/messages.h"
#include "ui/common/prompter.h"
#include "ui/common/qtext.h"
#include "ui/common/rowlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zorv::ui {

namespace {

    using transfer::InfoField;
    using transfer::Receiver;
    using transfer::Tint;

    constexpr const char *kDumpFile = "zvtrdat~.dp~";
    constexpr const char *kTestFile = "dump.dmp";
    constexpr std::array<int, transfer::kTransferColumnCount> kColumnWidths = { 70, 120, 60, 60, 60, 60, 60 };

    // Paints a label or field in one of the status tints; Default gives the style's own colours back.
    void paint(QWidget *widget, Tint tint)
    {
        if (widget->property("tint").toInt() == static_cast<int>(tint))
            return;
        widget->setProperty("tint", static_cast<int>(tint));
        QPalette palette = widget->parentWidget()->palette();
        if (tint != Tint::Default) {
            const QColor text = qtglue::toQColor(transfer::tintForeground(tint));
            const QColor back = qtglue::toQColor(transfer::tintBackground(tint));
            palette.setColor(QPalette::WindowText, text);
            palette.setColor(QPalette::Text, text);
            palette.setColor(QPalette::Window, back);
            palette.setColor(QPalette::Base, back);
        }
        widget->setPalette(palette);
        widget->setAutoFillBackground(tint != Tint::Default);
    }

    QLabel *statusLabel(const QString &name, QWidget *parent)
    {
        auto *label = new QLabel(parent);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignCenter);
        label->setMargin(2);
        label->setProperty("tint", -1);
        return label;
    }

    std::string *lastTransferText(settings::LastTransfer &last, InfoField field)
    {
        switch (field) {
        case InfoField::SerialNumber:
            return &last.serialNumber;
        case InfoField::ComputerType:
            return &last.computerType;
        case InfoField::TotalDives:
            return &last.totalDives;
        case InfoField::Battery:
            return &last.battery;
        case InfoField::Beeper:
            return &last.beeper;
        case InfoField::Units:
            return &last.unitSystem;
        case InfoField::MaxPpO2:
            return &last.maxPpO2;
        case InfoField::AirReserve:
            return &last.airReserve;
        case InfoField::BreathingSensitivity:
            break;
        }
        return &last.breathing;
    }

    bool ask(QWidget *parent, StringId textId)
    {
        return askYesNo(parent, qstr(textId));
    }

} // namespace

TransferDialog::TransferDialog(AppContext &context, std::unique_ptr<transfer::SerialLink> link, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_link(std::move(link))
{
    setObjectName(QStringLiteral("transferDialog"));
    setWindowTitle(ui::tr("Transfert des plongées"));
    m_clock.start();
    m_receiver = Receiver(nowMs());
    buildLayout();

    m_portReady = m_link && transfer::startLink(*m_link, m_context.settings.comPort - 1, m_receiver);
    m_receiveTimer = new QTimer(this);
    m_receiveTimer->setTimerType(Qt::PreciseTimer);
    m_receiveTimer->setInterval(1);
    connect(m_receiveTimer, &QTimer::timeout, this, &TransferDialog::pollLink);
    if (m_portReady)
        m_receiveTimer->start();
    refreshStatus();
}

TransferDialog::~TransferDialog() = default;

void TransferDialog::buildLayout()
{
    auto *computer = new QLabel(ui::tr("Ordinateur"), this);
    m_connection = statusLabel(QStringLiteral("connection"), this);
    m_connection->setMinimumWidth(
        m_connection->fontMetrics().horizontalAdvance(qstr(StringId::TransferConnected)) + 16);
    m_comPort = statusLabel(QStringLiteral("comPort"), this);
    m_comPort->setMinimumWidth(m_comPort->fontMetrics().horizontalAdvance(QStringLiteral("888")) + 12);
    auto *interfaceText = new QLabel(qstr(StringId::TransferInterface), this);
    // A COM number means little on Linux: say which device it stands for.
    const QString device = serial::portDevicePath(m_context.settings.comPort - 1, toQt(m_context.settings.serialPort));
    m_comPort->setToolTip(device);
    interfaceText->setToolTip(device);

    auto *linkBox = new QWidget(this);
    auto *linkLayout = new QHBoxLayout(linkBox);
    linkLayout->setContentsMargins(0, 0, 0, 0);
    linkLayout->addWidget(computer);
    linkLayout->addWidget(m_connection);
    linkLayout->addWidget(new QLabel(ui::tr("à   COM:"), this));
    linkLayout->addWidget(m_comPort);
    linkLayout->addWidget(new QLabel(QStringLiteral("par"), this));
    linkLayout->addWidget(interfaceText);
    linkLayout->addStretch(1);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, Receiver::kProgressMaximum);
    m_progress->setTextVisible(false);
    auto *progressBox = new QWidget(this);
    auto *progressRow = new QHBoxLayout(progressBox);
    progressRow->setContentsMargins(0, 0, 0, 0);
    progressRow->addWidget(new QLabel(QStringLiteral("0%"), this));
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(new QLabel(QStringLiteral("100%"), this));

    // One widget holds both rows so that the end of the capture hides them together.
    m_linkRow = new QWidget(this);
    auto *linkColumn = new QVBoxLayout(m_linkRow);
    linkColumn->setContentsMargins(0, 0, 0, 0);
    linkColumn->addWidget(linkBox);
    linkColumn->addWidget(progressBox);

    m_portError = statusLabel(QStringLiteral("portError"), this);
    m_state = statusLabel(QStringLiteral("state"), this);
    QFont stateFont = m_state->font();
    stateFont.setBold(true);
    m_state->setFont(stateFont);
    m_state->setMinimumHeight(m_state->fontMetrics().height() + 8);

    m_list = rowList(QStringLiteral("newDives"), transfer::transferColumnTitles(), this);
    int listWidth = 0;
    for (int c = 0; c < transfer::kTransferColumnCount; ++c) {
        // The date needs its room in today's fonts; the rest keep their old widths.
        const int fit = m_list->fontMetrics().horizontalAdvance(QStringLiteral("Me, 30.Sep.2099")) + 16;
        const int width = c == 1 ? std::max(kColumnWidths[1], fit) : kColumnWidths[static_cast<std::size_t>(c)];
        m_list->setColumnWidth(c, width);
        m_list->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        listWidth += width;
    }
    m_list->setMinimumWidth(listWidth + 24);
    m_list->setMinimumHeight(180);

    m_infoGroup = new QGroupBox(qstr(StringId::LastTransfer), this);
    m_infoGroup->setObjectName(QStringLiteral("computerGroup"));
    auto *infoGrid = new QGridLayout(m_infoGroup);
    for (int i = 0; i < transfer::kInfoFieldCount; ++i) {
        const auto field = static_cast<InfoField>(i);
        auto *edit = new QLineEdit(m_infoGroup);
        edit->setObjectName(QString::fromLatin1(transfer::infoKey(field)));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("8888888888")) + 12);
        edit->setProperty("tint", -1);
        infoGrid->addWidget(new QLabel(toQt(transfer::infoLabel(field)), m_infoGroup), i, 0);
        infoGrid->addWidget(edit, i, 1);
        m_info[static_cast<std::size_t>(i)] = edit;
    }
    infoGrid->setRowStretch(transfer::kInfoFieldCount, 1);
    transfer::InfoTexts stored;
    for (int i = 0; i < transfer::kInfoFieldCount; ++i)
        stored[static_cast<std::size_t>(i)]
            = *lastTransferText(m_context.settings.lastTransfer, static_cast<InfoField>(i));
    showInfoTexts(stored);

    m_acceptButton = new QPushButton(ui::tr("&Accepter les plongées"), this);
    m_acceptButton->setObjectName(QStringLiteral("accept"));
    m_acceptButton->setEnabled(false);
    m_testButton = new QPushButton(ui::tr("Test"), this);
    m_testButton->setObjectName(QStringLiteral("test"));
    m_testButton->setAutoDefault(false);
    m_cancelButton = new QPushButton(ui::tr("Annuler"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancel"));
    m_cancelButton->setAutoDefault(false);
    connect(m_acceptButton, &QPushButton::clicked, this, &TransferDialog::acceptDives);
    connect(m_testButton, &QPushButton::clicked, this, &TransferDialog::loadDumpFile);
    connect(m_cancelButton, &QPushButton::clicked, this, &TransferDialog::reject);

    auto *left = new QVBoxLayout;
    left->addWidget(m_linkRow);
    auto *stateRow = new QHBoxLayout;
    // "Erreur-Com" appears here only while the port reports trouble.
    stateRow->addWidget(m_portError);
    stateRow->addWidget(m_state, 1);
    left->addLayout(stateRow);
    left->addWidget(m_list, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_acceptButton);
    buttons->addStretch(1);
    buttons->addWidget(m_testButton);
    buttons->addWidget(m_cancelButton);
    left->addLayout(buttons);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addWidget(m_infoGroup);
}

bool TransferDialog::checkPort()
{
    if (!m_portReady) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Zorv"),
            toQt(common::cformat(
                     std::string(common::str(StringId::TransferPortNotReady)).c_str(), m_context.settings.comPort))
                .trimmed(),
            QMessageBox::Ok, parentWidget());
        if (m_link)
            box.setInformativeText(toQt(m_link->errorText()));
        prompter().exec(box);
        return false;
    }
    return true;
}

QString TransferDialog::dumpFolder(const AppContext &context)
{
    const std::string &logbookPath = context.logbook.path();
    if (!logbookPath.empty())
        return QFileInfo(toQt(logbookPath)).absolutePath();
    return QDir::currentPath();
}

int TransferDialog::newDiveCount() const
{
    return m_newDives.any ? m_memory.diveCount() - m_newDives.first : 0;
}

void TransferDialog::pollLink()
{
    const std::int64_t now = nowMs();
    m_receiver.poll(*m_link, now);
    m_receiver.tick(now);
    if (shownOf(m_receiver) != m_shown)
        refreshStatus();
    if (m_receiver.done() && !m_processed)
        finishCapture();
}

TransferDialog::Shown TransferDialog::shownOf(const Receiver &receiver)
{
    return { receiver.connected(), receiver.blink(), receiver.running(), receiver.transmissionFailed(),
        receiver.portError(), receiver.progress() };
}

void TransferDialog::refreshStatus()
{
    m_shown = shownOf(m_receiver);
    const transfer::TransferStatus status
        = transfer::transferStatus(m_receiver, m_context.settings.comPort, m_computerType, m_context.catalogue);
    const auto show = [](QLabel *label, const transfer::StatusField &field) {
        const QString text = toQt(field.text).trimmed();
        if (label->text() != text)
            label->setText(text);
        paint(label, field.tint);
    };
    show(m_connection, status.connection);
    show(m_comPort, status.comPort);
    show(m_portError, status.portError);
    show(m_state, status.state);
    m_progress->setValue(std::min(m_receiver.progress(), Receiver::kProgressMaximum));
}

void TransferDialog::finishCapture()
{
    m_receiveTimer->stop();
    m_linkRow->hide();
    m_testButton->setEnabled(false);
    if (!processImage(m_receiver.image()))
        return;
    fillList();
    if (m_newDives.any) {
        m_acceptButton->setEnabled(true);
        m_acceptButton->setDefault(true);
        m_acceptButton->setFocus();
    }
}

void TransferDialog::loadDumpFile()
{
    QFile file(QDir(dumpFolder(m_context)).filePath(QString::fromLatin1(kTestFile)));
    if (!file.exists() || m_receiver.done())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        showWarning(this, ui::tr("Impossible de lire « %1 » : accès refusé.").arg(QString::fromLatin1(kTestFile)));
        return;
    }
    const QByteArray bytes = file.read(Receiver::kImageSize);
    std::vector<std::uint8_t> image(bytes.begin(), bytes.end());
    if (image.size() < static_cast<std::size_t>(Receiver::kImageSize)) {
        // A short file is no image: padding it would only make the checksum fail later.
        showWarning(this, qstr(StringId::TransferError).trimmed());
        return;
    }
    m_receiver.useImage(image);
    finishCapture();
}

bool TransferDialog::processImage(std::span<const std::uint8_t> image)
{
    m_processed = true;
    if (m_context.settings.dumpMemory) {
        const QString path = QDir(dumpFolder(m_context)).filePath(QString::fromLatin1(kDumpFile));
        const common::Result saved = common::saveFileAtomically(path.toStdString(), image);
        if (!saved)
            showWarning(this, toQt(saved.message()));
    }
    if (!m_memory.load(image)) {
        showWarning(this, qstr(StringId::TransferError).trimmed());
        QDialog::reject();
        return false;
    }
    m_newDives = m_memory.searchNewDives(transfer::lastLogbookDive(m_context.logbook));

    const transfer::ComputerSettings computer = m_memory.settings();
    const transfer::InfoTexts texts = transfer::infoTexts(computer, m_context.catalogue);
    m_batteryPercent = transfer::batteryPercent(computer);
    for (int i = 0; i < transfer::kInfoFieldCount; ++i)
        *lastTransferText(m_context.settings.lastTransfer, static_cast<InfoField>(i))
            = texts[static_cast<std::size_t>(i)];
    showInfoTexts(texts);
    m_infoGroup->setTitle(qstr(StringId::CurrentTransfer));

    const std::optional<transfer::ComputerDive> first = m_memory.diveAt(0);
    m_computerType = first ? first->computerType : static_cast<std::uint8_t>(computer.type);
    refreshStatus();
    return true;
}

void TransferDialog::fillList()
{
    m_list->clear();
    if (!m_newDives.any) {
        m_acceptButton->setEnabled(false);
        m_state->setText(qstr(StringId::NoNewDive));
        return;
    }
    const auto rows = transfer::transferRows(m_memory, m_newDives.first,
        transfer::firstTransferNumber(m_context.logbook), m_memory.settings().imperialUnits);
    QList<QTreeWidgetItem *> items;
    for (const transfer::TransferRow &row : rows) {
        auto *item = new QTreeWidgetItem(QStringList { toQt(row.number).trimmed(), toQt(row.date), toQt(row.time),
            toQt(row.depth), toQt(row.duration), toQt(row.pressureDrop), toQt(row.profile) });
        for (int c = 0; c < transfer::kTransferColumnCount; ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    m_list->addTopLevelItems(items);
    if (!items.isEmpty()) {
        m_list->setCurrentItem(items.last());
        m_list->scrollToItem(items.last());
    }
}

void TransferDialog::acceptDives()
{
    logbook::Logbook &logbook = m_context.logbook;
    const std::uint32_t imageSerial = m_memory.serialNumber();
    if (imageSerial != logbook.headerLong() && logbook.diveCount() > 0 && !ask(this, StringId::AskOtherComputer))
        return;
    m_acceptButton->setEnabled(false);
    const transfer::AcceptedDives accepted = transfer::acceptNewDives(m_memory, m_newDives, logbook);
    if (accepted.added > 0)
        logbook.setHeaderLong(imageSerial);
    if (accepted.notFitted > 0)
        ui::warn(this, QStringLiteral("Zorv"), toQt(transfer::notFittedMessage(accepted)));
    m_accepted = true;
    QDialog::accept();
}

void TransferDialog::reject()
{
    if (!m_accepted && m_newDives.any && !ask(this, StringId::AskDiscardDives))
        return;
    QDialog::reject();
}

void TransferDialog::showInfoTexts(const transfer::InfoTexts &texts)
{
    for (int i = 0; i < transfer::kInfoFieldCount; ++i)
        m_info[static_cast<std::size_t>(i)]->setText(toQt(texts[static_cast<std::size_t>(i)]));
    paint(m_info[static_cast<std::size_t>(InfoField::Battery)], transfer::batteryTint(m_batteryPercent));
}

bool showTransferDialog(AppContext &context, QWidget *parent)
{
    auto link = std::make_unique<serial::QtSerialLink>(toQt(context.settings.serialPort));
    TransferDialog dialog(context, std::move(link), parent);
    if (!dialog.checkPort())
        return false;
    prompter().exec(dialog);
    return dialog.accepted();
}

} // namespace zorv::ui
