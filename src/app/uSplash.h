#pragma once

#include <QLabel>
#include <QWidget>

// The borderless start-up window with the program's picture and its version.
class TfrmSplash final : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmSplash(QWidget* parent = nullptr);

    QLabel* imgSplash() const { return m_imgSplash; }
    QLabel* versionLabel() const { return m_version; }

    // Sets the version label.
    void FormCreate();
    // Makes the window exactly as large as its picture.
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_imgSplash;
    QLabel* m_version;
};
