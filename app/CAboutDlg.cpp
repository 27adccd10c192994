#include "app/CAboutDlg.h"

#include "app/DialogStyle.h"
#include "app/DialogUnits.h"
#include "lookup/Texts.h"

#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent, bool sampleLists) : QDialog(parent, kFixedDialogFlags) {
    setWindowTitle(qText(lookup::text::kAboutCaption));
    setFont(dialogFont(9));
    const DialogUnits units(font());
    setFixedSize(units.size(235, sampleLists ? 104 : 82));

    // In the order the Tab key visits them. An icon control takes the icon's size.
    auto* icon = new QLabel(this);
    const QPixmap picture = dialogPicture(kIcon32, kIcon64, devicePixelRatioF());
    icon->setScaledContents(true);
    icon->setPixmap(picture);
    icon->setGeometry(
        QRect(units.rect(11, 17, 0, 0).topLeft(), picture.deviceIndependentSize().toSize()));

    auto* version = new QLabel(qText(lookup::text::kAboutVersion), this);
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(units.rect(40, 10, 119, 8));

    auto* copyright = new QLabel(qText(lookup::text::kCopyright), this);
    copyright->setTextFormat(Qt::PlainText);
    copyright->setGeometry(units.rect(40, 25, 119, 8));

    auto* ok = new QPushButton(qText(lookup::text::kOk), this);
    ok->setDefault(true);
    ok->setGeometry(units.rect(178, 7, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Plain text: the address here opens nothing.
    auto* address = new QLabel(qText(lookup::text::kWebAddress), this);
    address->setTextFormat(Qt::PlainText);
    address->setTextInteractionFlags(Qt::NoTextInteraction);
    address->setGeometry(units.rect(39, 41, 119, 8));

    if (sampleLists) {
        auto* samples = new QLabel(qText(lookup::text::kSampleLists), this);
        samples->setTextFormat(Qt::PlainText);
        samples->setWordWrap(true);
        samples->setGeometry(units.rect(39, 56, 189, 40));
    }
}
