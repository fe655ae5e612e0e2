#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace zorla {

enum class MessageIcon { Information, Error };

// Every box the window shows goes through here, so tests never wait on a modal box. Boxes are opened
// window-modal and answered through the callback: the window's thread never blocks on them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void mensagem(QWidget* parent, const QString& texto, const QString& titulo, MessageIcon icone,
                          std::function<void()> aoFechar) = 0;
    // Calls back with the chosen folder; not at all when the chooser is cancelled.
    virtual void escolhePasta(QWidget* parent, const QString& inicial, std::function<void(const QString&)> aoEscolher) = 0;
};

class QtDialogs : public Dialogs {
public:
    void mensagem(QWidget* parent, const QString& texto, const QString& titulo, MessageIcon icone,
                  std::function<void()> aoFechar) override;
    void escolhePasta(QWidget* parent, const QString& inicial, std::function<void(const QString&)> aoEscolher) override;
};

}  // namespace zorla
