#pragma once

#include "app/aboutkeymatcher.h"
#include "platform/config.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

class AddressOpener;

// The about box: product name, version, rights notice, logo and the technical-support
// link, with a hidden picture panel that the hidden key sequence typed with Alt shows.
class TAboutBox final : public QDialog
{
    Q_OBJECT

public:
    TAboutBox(const Config& config, AddressOpener& addresses, QWidget* parent = nullptr);

    // Creates a fresh about box, shows it modally and returns when it is closed.
    static void showModal(const Config& config, AddressOpener& addresses, QWidget* parent);

    // The about box's handlers.
    void FormCreate();
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void Label1Click();
    void Image2Click();

    int matchPosition() const { return m_matcher.position(); }

    QFrame* Panel1() const { return m_panel1; }
    QLabel* ProgramIcon() const { return m_programIcon; }
    QLabel* ProductName() const { return m_productName; }
    QLabel* Version() const { return m_version; }
    QLabel* Copyright() const { return m_copyright; }
    QLabel* Label1() const { return m_label1; }
    QLabel* Image1() const { return m_image1; }
    QPushButton* OKButton() const { return m_okButton; }
    QFrame* Panel2() const { return m_panel2; }
    QLabel* Image2() const { return m_image2; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    Config m_config;
    AddressOpener& m_addresses;
    AboutKeyMatcher m_matcher;
    bool m_keyPreview = false;
    QObject* m_previewedWindow = nullptr;

    QFrame* m_panel1;
    QLabel* m_programIcon;
    QLabel* m_productName;
    QLabel* m_version;
    QLabel* m_copyright;
    QLabel* m_label1;
    QLabel* m_image1;
    QPushButton* m_okButton;
    QFrame* m_panel2;
    QLabel* m_image2;
};
