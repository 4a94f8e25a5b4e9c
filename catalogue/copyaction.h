#pragma once

#include "binding.h"

// The two behaviours behind every click: a button's copy action and the
// blanking of a correspondence pane. Each step is a call that can fail; a
// failed step ends the action there, leaving what the earlier steps did.

class Pane
{
public:
    virtual ~Pane() = default;
    virtual bool setText(const QString &text) = 0;
    virtual bool setBackColor(Colour colour) = 0;
};

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual bool clear() = 0;
    virtual bool setText(const QString &text) = 0; // plain text, nothing else
};

// The step at which an action stopped, or Done.
enum class CopyStep { Done, PaneText, PaneColour, ClipboardClear, ClipboardText };

struct Panes
{
    Pane *oldPane = nullptr; // Text1
    Pane *newPane = nullptr; // Text2
    Pane *of(Curriculum c) const { return c == Curriculum::Old ? oldPane : newPane; }
};

class PaneReset
{
public:
    explicit PaneReset(Pane &pane) : m_pane(pane) {}
    CopyStep run() const;

private:
    Pane &m_pane;
};

class CopyAction
{
public:
    explicit CopyAction(const ButtonBinding &binding) : m_binding(binding) {}
    CopyStep run(const Panes &panes, Clipboard &clipboard) const;

private:
    ButtonBinding m_binding;
};
