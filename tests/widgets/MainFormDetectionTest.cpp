// What the main window shows of detection before anything is written: the preview pane, the source
// list's Encoding column, "Detect automatically"; and the window in Vietnamese.

#include "EngineTexts.h"
#include "HelpWindow.h"
#include "MainFormFixture.h"
#include "NamedDetector.h"
#include "PreviewPane.h"
#include "Translations.h"

using namespace odz;
using namespace odz::test;

class MainFormDetectionTest : public TMainFormFixture {
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void previewFollowsTheSelectionAndTheEncodings() {
        Write("in/viscii-poem.txt", Iconv(kPoemUtf8, "UTF-8", "VISCII"));
        auto form = NewForm();
        form->SetFileDetector(test::NamedDetector());
        form->SourceFileList->SetDirectory(Path("in"));
        QVERIFY(form->PreviewDock->isHidden());
        form->PreviewChk->setChecked(true);
        const TPreviewPane& pane = *form->PreviewPane;
        QTRY_COMPARE(pane.MessageLabel->text(),
                     QString("Select a file in the source list to see its preview."));
        form->SourceFileList->SetSelected(RowOf(*form->SourceFileList, "viscii-poem.txt"), true);
        QTRY_COMPARE(pane.MessageLabel->text(),
                     QString("Choose the source and the target encoding to see the preview."));
        const int detect = form->SourceEncodecbo->count() - 1;
        QCOMPARE(form->SourceEncodecbo->itemText(detect), QString("Detect automatically"));
        QCOMPARE(form->TargetEncodecbo->findText("Detect automatically"), -1);
        form->SourceEncodecbo->setCurrentIndex(detect);
        form->TargetEncodecbo->setCurrentIndex(8);  // Unicode UTF-8
        const QString poem = QString::fromUtf8(kPoemUtf8).remove('\r').chopped(1);
        QTRY_COMPARE(pane.TargetView->toPlainText(), poem);
        QCOMPARE(pane.SourceCaption->text(), QString("Read as VISCII"));
        form->SourceEncodecbo->setCurrentIndex(4);  // VNI Wind: other letters
        QTRY_COMPARE(pane.SourceCaption->text(), QString("Read as VNI Wind"));
        QVERIFY(pane.TargetView->toPlainText() != poem);
        form->SourceEncodecbo->setCurrentIndex(detect);
        FMessages->Expect(TAnswer::No);
        form->ConversebuttonClick();
        QCOMPARE(FMessages->asked,
                 QStringList{"Do you want to convert selected files with *.* in directory " + Folder("in") +
                             " from detected per file to files with *.* to "
                             "directory " +
                             Folder("work") + " with Unicode UTF-8"});
    }

    // The source list's Encoding column fills on a worker while the window goes on handling events;
    // sorting by it groups the files. The target list has no such column.
    void encodingColumnFillsInTheBackground() {
        const QStringList names{"tcvn1-e.txt",  "unsure-g.txt", "utf8-c.txt", "viqr-d.txt",
                                "viscii-a.txt", "viscii-f.txt", "vni-b.txt"};
        for (const QString& name : names) Write("enc/" + name, "x");
        QDir().mkpath(Path("enc/folder"));
        for (int i = 0; i < 2000; ++i) Write(QString("big/viscii-%1.txt").arg(i), "x");
        auto form = NewForm();
        form->SetFileDetector(test::NamedDetector(std::chrono::milliseconds(1)));
        TZTFilelistView& list = *form->SourceFileList;
        const auto texts = [&list] {
            QStringList shown;
            for (int row = 0; row < list.Count(); ++row)
                if (!list.Item(row).isParent) shown << list.Model()->index(row, 5).data().toString();
            return shown;
        };
        list.SetDirectory(Path("enc"));
        QTRY_VERIFY(!form->EncodingScanRunning());
        QCOMPARE(list.Model()->headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString("Encoding"));
        QCOMPARE(form->TargetFileList->Model()->columnCount(), 5);
        QCOMPARE(Captions(list), QStringList{"folder"} + names);
        QCOMPARE(texts(), (QStringList{"", "tcvn1", "viscii?", "utf8", "viqr", "viscii", "viscii", "vni"}));
        list.ColumnClick(5);
        QCOMPARE(texts(), (QStringList{"vni", "viscii?", "viscii", "viscii", "viqr", "utf8", "tcvn1", ""}));

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(0);
        QSignalSpy batches(list.Model(), &QAbstractItemModel::dataChanged);
        list.SetDirectory(Path("big"));
        QCOMPARE(list.Count(), 2001);  // listed at once, the column still blank
        QVERIFY(form->EncodingScanRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!form->EncodingScanRunning(), 120000);
        QCOMPARE(texts(), QStringList(2000, "viscii"));
        QVERIFY2(batches.size() > 1 && ticks > batches.size(), qPrintable(QString::number(ticks)));
    }

    void speaksVietnameseInAVietnameseLocale() {
        QVERIFY(InstallTranslations(*QCoreApplication::instance(),
                                    QLocale(QLocale::Vietnamese, QLocale::Vietnam)));
        const auto english = qScopeGuard([] {
            for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
                QCoreApplication::removeTranslator(translator);
                delete translator;
            }
        });
        Write("in/letter.txt", Iconv(kLetterUtf8, "UTF-8", "VISCII"));
        QDir().mkpath(Path("out"));
        auto form = NewForm();
        QVERIFY(Show(*form));
        QCOMPARE(form->Conversebutton->text(), QString("Chuyển mã"));
        QCOMPARE(form->ExitButton->text(), QString("Thoát"));
        QCOMPARE(form->OverwriteChk->text(), QString("Ghi đè tất cả"));
        form->SourceFileList->SetDirectory(Path("in"));
        form->TargetFileList->SetDirectory(Path("out"));
        QCOMPARE(form->SourceFileList->Item(0).caption, QString(" ^ Thư mục cha"));
        form->SourceEncodecbo->setCurrentIndex(2);  // VISCII
        form->TargetEncodecbo->setCurrentIndex(8);  // Unicode UTF-8
        FMessages->Expect(TAnswer::Yes);
        QTest::mouseClick(form->Conversebutton, Qt::LeftButton);
        QCOMPARE(FMessages->asked,
                 QStringList{"Bạn có muốn chuyển mã mọi tệp dạng *.* trong thư mục " + Folder("in") +
                             " từ bảng mã VISCII thành các tệp dạng *.* trong thư mục " + Folder("out") +
                             " với bảng mã Unicode UTF-8 không?"});
        QCOMPARE(FMessages->shown,
                 QStringList{"information: Xong\n1 tệp đã được chuyển mã, 0 tệp để nguyên, 0 tệp bị lỗi."});
        QCOMPARE(Read("out/letter.txt"), kLetterUtf8);
        // The engine's failures, shown in boxes and the preview, keep the file name as it is.
        QCOMPARE(EngineText("Cannot create file /a/Cannot open file", "Permission denied"),
                 QString("Không tạo được tệp /a/Cannot open file (Permission denied)"));
        QCOMPARE(EngineText("Cannot create /a/b"), QString("Không tạo được /a/b"));
        QMessageBox box(QMessageBox::Question, {}, {},
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QString("&Có"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QString("&Không"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QString("Huỷ"));
        QTest::mouseClick(form->ReplaceButton, Qt::LeftButton);
        QCOMPARE(form->HelpWindow()->Browser()->source(), QUrl("qrc:/help/vi/index.html"));
        QCOMPARE(form->HelpWindow()->findChild<QPushButton*>("ContentsButton")->text(), QString("&Mục lục"));
        QVERIFY(form->close());
    }
};

QTEST_MAIN(MainFormDetectionTest)
#include "MainFormDetectionTest.moc"
