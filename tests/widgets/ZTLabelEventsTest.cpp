#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include "DecorTestHelpers.h"
#include "ZTLabel.h"

using namespace odz;
using namespace odz::test;

// The label's reactions to the mouse, the access key and the focus of its focus control.
class ZTLabelEventsTest : public QObject {
    Q_OBJECT
private slots:
    void mouseEnterAndLeave();
    void disablingWhileInsideLeaves();
    void accelKeyFocusesTheFocusControl();
    void focusRectangleFollowsTheFocusControl();
};

void ZTLabelEventsTest::mouseEnterAndLeave() {
    TZTLabel label;
    // Away from where the pointer rests, so that showing the label does not count as entering it.
    label.move(300, 300);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QSignalSpy entered(&label, &TZTLabel::OnMouseEnter);
    QSignalSpy left(&label, &TZTLabel::OnMouseLeave);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), label.mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(&label, &enter);
    QCOMPARE(entered.count(), 1);
    QVERIFY(label.MouseInControl());
    QCoreApplication::sendEvent(&label, &enter);
    QCOMPARE(entered.count(), 1);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&label, &leave);
    QCOMPARE(left.count(), 1);
    QCoreApplication::sendEvent(&label, &leave);
    QCOMPARE(left.count(), 1);
    // Hidden while the mouse is over it: it leaves.
    QCoreApplication::sendEvent(&label, &enter);
    label.hide();
    QCOMPARE(left.count(), 2);
    // A disabled label takes no notice.
    label.show();
    label.setEnabled(false);
    QCoreApplication::sendEvent(&label, &enter);
    QCOMPARE(entered.count(), 2);
}

void ZTLabelEventsTest::disablingWhileInsideLeaves() {
    TZTLabel label;
    label.move(300, 300);
    label.show();
    QVERIFY(QTest::qWaitForWindowExposed(&label));
    QSignalSpy left(&label, &TZTLabel::OnMouseLeave);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), label.mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(&label, &enter);
    label.setEnabled(false);
    QCOMPARE(left.count(), 1);
    QVERIFY(!label.MouseInControl());
}

void ZTLabelEventsTest::accelKeyFocusesTheFocusControl() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* label = new TZTLabel(&window);
    auto* edit = new QLineEdit(&window);
    layout->addWidget(other);
    layout->addWidget(label);
    layout->addWidget(edit);
    label->SetCaption("&Name");
    label->SetFocusControl(edit);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    QTRY_VERIFY(edit->hasFocus());
    // Without the access key shown, the same key does nothing.
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    label->SetShowAccelChar(false);
    QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
    QCoreApplication::processEvents();
    QVERIFY(other->hasFocus());
}

void ZTLabelEventsTest::focusRectangleFollowsTheFocusControl() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* label = new TZTLabel(&window);
    auto* edit = new QLineEdit(&window);
    auto* other = new QLineEdit(&window);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(other);
    PlainLabel(*label);
    label->SetCaption("Field");
    label->SetFocusControl(edit);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    const QImage unfocused = Render(*label);
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(Render(*label), unfocused);  // ShowFocus is off
    label->SetShowFocus(true);
    QVERIFY(Render(*label) != unfocused);
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(Render(*label), unfocused);
}

QTEST_MAIN(ZTLabelEventsTest)
#include "ZTLabelEventsTest.moc"
