#include "ui/common/appcontext.h"
#include "ui/transfer/computertypedialogs.h"
#include "uitest.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace zorv;
using zorv::ui::AppContext;
using zorv::ui::ComputerTypeDataDialog;
using zorv::ui::ComputerTypesDialog;

namespace {

constexpr settings::ScreenSize kScreen { 1024, 768 };

int rowOf(QTreeWidget *view, const QString &id)
{
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        if (view->topLevelItem(i)->text(1) == id)
            return i;
    return -1;
}

QPushButton *button(QWidget *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QString::fromLatin1(name));
}

// Fills the form "Description de l'ordinateur" that opens next, and confirms it.
void fillNextForm(const QString &name, const QString &id, const char *radio = nullptr)
{
    uitest::prompts().modal([name, id, radio](QWidget *modal) {
        auto *form = qobject_cast<ComputerTypeDataDialog *>(modal);
        if (!form)
            return;
        auto *nameEdit = form->findChild<QLineEdit *>(QStringLiteral("name"));
        nameEdit->setText(name);
        auto *idEdit = form->findChild<QLineEdit *>(QStringLiteral("typeId"));
        if (idEdit->isEnabled()) {
            idEdit->selectAll();
            QTest::keyClicks(idEdit, id);
        }
        if (radio)
            form->findChild<QRadioButton *>(QString::fromLatin1(radio))->click();
        button(form, "ok")->click();
    });
}

} // namespace

class ComputerTypeDialogsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void buttonsFollowTheSelectedRow()
    {
        AppContext context;
        context.load(m_dir.path().toStdString(), kScreen);
        ComputerTypesDialog dialog(context);
        dialog.show();
        QTreeWidget *view = dialog.view();
        QCOMPARE(view->topLevelItemCount(), context.catalogue.count());
        QCOMPARE(view->headerItem()->text(3), QStringLiteral("Gestion d'air"));

        view->setCurrentItem(view->topLevelItem(rowOf(view, QStringLiteral("0"))));
        QVERIFY(!button(&dialog, "edit")->isEnabled());
        QVERIFY(!button(&dialog, "delete")->isEnabled());
        view->setCurrentItem(view->topLevelItem(rowOf(view, QStringLiteral("179"))));
        QVERIFY(button(&dialog, "edit")->isEnabled());
        QVERIFY(!button(&dialog, "delete")->isEnabled());

        std::unique_ptr<QMenu> menu(dialog.rowMenu(rowOf(view, QStringLiteral("0"))));
        QCOMPARE(menu->actions().size(), 3);
        QVERIFY(!menu->actions()[0]->isEnabled());
        QVERIFY(menu->actions()[1]->isEnabled());
        QVERIFY(!menu->actions()[2]->isEnabled());
        uitest::saveScreenshot(&dialog, QStringLiteral("computer-types"));
    }

    // New, edit and delete work on the copy; only OK reaches the catalogue, and the
    // column widths are kept either way.
    void copyReachesTheCatalogueOnlyOnOk()
    {
        uitest::Prompts prompts;
        AppContext context;
        context.load(m_dir.path().toStdString(), kScreen);
        const int before = context.catalogue.count();
        {
            ComputerTypesDialog dialog(context);
            dialog.show();
            fillNextForm(QStringLiteral("Ma montre"), QStringLiteral("150"), "gas1");
            QTest::mouseClick(button(&dialog, "new"), Qt::LeftButton);
            QCOMPARE(dialog.view()->topLevelItemCount(), before + 1);
            QCOMPARE(dialog.view()->currentItem()->text(2), QStringLiteral("NITROX"));
            dialog.view()->setColumnWidth(0, 250);
            QTest::mouseClick(button(&dialog, "cancel"), Qt::LeftButton);
        }
        QCOMPARE(context.catalogue.count(), before);
        QCOMPARE(context.settings.columnWidth(settings::ColumnList::ComputerTypes, 0), 250);

        ComputerTypesDialog dialog(context);
        dialog.show();
        QCOMPARE(dialog.view()->columnWidth(0), 250);
        fillNextForm(QStringLiteral("Refusée"), QStringLiteral("30"));
        QTest::mouseClick(button(&dialog, "new"), Qt::LeftButton);
        QCOMPARE(dialog.view()->topLevelItemCount(), before);

        fillNextForm(QStringLiteral("Ma montre"), QStringLiteral("150"));
        QTest::mouseClick(button(&dialog, "new"), Qt::LeftButton);
        fillNextForm(QStringLiteral("Montre bleue"), QStringLiteral("151"));
        QTest::mouseClick(button(&dialog, "edit"), Qt::LeftButton);
        QCOMPARE(dialog.view()->currentItem()->text(0), QStringLiteral("Montre bleue"));

        // A built-in row cannot go.
        dialog.view()->setCurrentItem(dialog.view()->topLevelItem(rowOf(dialog.view(), QStringLiteral("28"))));
        QVERIFY(!button(&dialog, "delete")->isEnabled());
        dialog.view()->setCurrentItem(dialog.view()->topLevelItem(rowOf(dialog.view(), QStringLiteral("151"))));
        prompts.message(QStringLiteral("Voulez-vous vraiment supprimer ´Montre bleue´ ?"), QStringLiteral("&Oui"));
        QTest::mouseClick(button(&dialog, "delete"), Qt::LeftButton);
        QCOMPARE(rowOf(dialog.view(), QStringLiteral("151")), -1);
        fillNextForm(QStringLiteral("Ma montre"), QStringLiteral("150"));
        QTest::mouseClick(button(&dialog, "new"), Qt::LeftButton);
        QTest::mouseClick(button(&dialog, "ok"), Qt::LeftButton);
        QCOMPARE(context.catalogue.count(), before + 1);
        QCOMPARE(context.catalogue.name(150), std::string("Ma montre"));
        QVERIFY(!context.catalogue.contains(151));
    }

    void formLocksBuiltInsAndOpensImportForImportIds()
    {
        computers::ComputerType builtIn;
        builtIn.typeId = 177;
        builtIn.name = "Citizen Hyper Aqualand";
        builtIn.imported = true;
        builtIn.builtIn = true;
        ComputerTypeDataDialog locked(builtIn);
        locked.show();
        QVERIFY(!locked.findChild<QLineEdit *>(QStringLiteral("typeId"))->isEnabled());
        QVERIFY(!locked.findChild<QGroupBox *>(QStringLiteral("gas"))->isEnabled());
        QVERIFY(!locked.findChild<QGroupBox *>(QStringLiteral("import"))->isEnabled());
        QVERIFY(locked.findChild<QLineEdit *>(QStringLiteral("name"))->isEnabled());

        ComputerTypeDataDialog form { computers::ComputerType {} };
        form.show();
        auto *id = form.findChild<QLineEdit *>(QStringLiteral("typeId"));
        auto *import = form.findChild<QGroupBox *>(QStringLiteral("import"));
        QVERIFY(!import->isEnabled());
        QTest::keyClicks(id, QStringLiteral("178"));
        QVERIFY(import->isEnabled());
        form.findChild<QRadioButton *>(QStringLiteral("import1"))->click();
        QVERIFY(form.result().imported);
        uitest::saveScreenshot(&form, QStringLiteral("computer-type-data"));
    }

    void knownComputersShowsTheFourBrandsOpen()
    {
        std::unique_ptr<QDialog> dialog(ui::createKnownComputersDialog(nullptr));
        dialog->show();
        auto *tree = dialog->findChild<QTreeWidget *>(QStringLiteral("computerTree"));
        QCOMPARE(tree->topLevelItemCount(), 4);
        QCOMPARE(tree->topLevelItem(0)->childCount(), 12);
        for (int i = 0; i < 4; ++i)
            QVERIFY(tree->topLevelItem(i)->isExpanded());
        uitest::saveScreenshot(dialog.get(), QStringLiteral("known-computers"));
    }
};

ZORV_UI_TEST_MAIN(ComputerTypeDialogsTest)
#include "computertypedialogs_test.moc"
