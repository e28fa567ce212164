#pragma once

#include <QElapsedTimer>
#include <QWidget>

class AppContext;

// Shown while a large cookbook is made ready for this version at its first
// start: nothing else can happen meanwhile, so the user is told why.
class FrmUppgradering : public QWidget {
    Q_OBJECT
public:
    explicit FrmUppgradering(const AppContext& ctx, QWidget* parent = nullptr);
};

// Ticks of a long first start: after a moment the window shows, and it is
// kept alive as the work goes on.
class UpgradeTicker {
public:
    explicit UpgradeTicker(const AppContext& ctx);
    ~UpgradeTicker();
    void operator()();
    bool shown() const { return m_window != nullptr; }

private:
    const AppContext& m_ctx;
    QElapsedTimer m_started;
    QElapsedTimer m_sincePump;
    FrmUppgradering* m_window = nullptr;
};
