#include "ui/about_window.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/artwork.h"

namespace qarv::ui {
namespace {

const QString kDescription = QStringLiteral(
    "     Qarvelion estimates and classifies electron-microprobe and wet-chemical spinel "
    "supergroup mineral analyses based on the current IMA (2019) nomenclature scheme.");
const QString kCredits = QStringLiteral(
    "Qarvelion, version " QARVELION_VERSION "\n\nWritten by the Qarvelion developers.\n"
    "Formula recalculation on 3 cations and 4 oxygens (Fe3+ after Droop, 1987), "
    "S = 4 and Se = 4; species after the IMA (2019) nomenclature of the spinel supergroup.");
const QString kCitation = QStringLiteral(
    "When you publish results calculated with Qarvelion, please cite:\n\n"
    "The Qarvelion developers: Qarvelion, a program for the recalculation and "
    "classification of spinel supergroup mineral analyses, version " QARVELION_VERSION ".");

QLabel* pictureLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(spinelPicture(96));
    label->setToolTip(QStringLiteral("Spinel"));
    return label;
}

}  // namespace

QString aboutMailAddress(const QString& date) {
    // The subject and body are percent-encoded, so blanks and signs in the
    // program title or the date cannot break the address.
    const QString subject = QStringLiteral("About ") + kProgramTitle;
    const QString body = kProgramTitle + QStringLiteral("; ") + date;
    return QStringLiteral("mailto:") + kAuthorAddress + QStringLiteral("?subject=") +
           QString::fromLatin1(QUrl::toPercentEncoding(subject)) + QStringLiteral("&body=") +
           QString::fromLatin1(QUrl::toPercentEncoding(body));
}

AboutWindow::AboutWindow(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("About ") + kProgramTitle);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(pictureLabel(this));
    auto* texts = new QVBoxLayout;
    auto* description = new QLabel(kDescription, this);
    description->setObjectName(QStringLiteral("description"));
    description->setWordWrap(true);
    auto* credits = new QLabel(kCredits, this);
    credits->setObjectName(QStringLiteral("credits"));
    credits->setWordWrap(true);
    texts->addWidget(description);
    texts->addWidget(credits);
    top->addLayout(texts, 1);
    layout->addLayout(top);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setToolTip(QStringLiteral("Close"));
    auto* mail = new QPushButton(QStringLiteral("E-mail"), this);
    mail->setObjectName(QStringLiteral("Command2"));
    mail->setToolTip(QStringLiteral("Send e-mail to author"));
    auto* published = new QPushButton(QStringLiteral("Published in"), this);
    published->setObjectName(QStringLiteral("Command3"));
    buttons->addWidget(ok);
    buttons->addWidget(mail);
    buttons->addWidget(published);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
    connect(mail, &QPushButton::clicked, this, &AboutWindow::sendMail);
    connect(published, &QPushButton::clicked, this, &AboutWindow::showCitation);
    resize(520, 260);
}

AboutWindow::~AboutWindow() {
    if (citation_) delete citation_.data();
}

void AboutWindow::sendMail() {
    const QString date = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    context_.platform.shell->open(aboutMailAddress(date), QStringLiteral("Open"));
}

void AboutWindow::showCitation() {
    if (!citation_) citation_ = new CitationWindow;
    citation_->show();
    citation_->raise();
}

CitationWindow::CitationWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(kProgramTitle);
    setModal(false);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(pictureLabel(this));
    auto* right = new QVBoxLayout;
    auto* text = new QLabel(kCitation, this);
    text->setObjectName(QStringLiteral("citation"));
    text->setWordWrap(true);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Command1"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    right->addWidget(text, 1);
    right->addWidget(close, 0, Qt::AlignRight);
    layout->addLayout(right, 1);
    resize(480, 220);
}

}  // namespace qarv::ui
