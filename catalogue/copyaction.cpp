#include "copyaction.h"

CopyStep PaneReset::run() const
{
    if (!m_pane.setText(QString()))
        return CopyStep::PaneText;
    if (!m_pane.setBackColor(Colour::windowBackground()))
        return CopyStep::PaneColour;
    return CopyStep::Done;
}

// The pane is written before the clipboard, so that a failure on the clipboard
// still leaves the pane showing the pressed item.
CopyStep CopyAction::run(const Panes &panes, Clipboard &clipboard) const
{
    if (m_binding.kind != ButtonKind::SubjectTitle) {
        Pane &pane = *panes.of(m_binding.curriculum);
        if (m_binding.isItem()) {
            const ContentItem &item = m_binding.item();
            if (!pane.setText(item.correspondence))
                return CopyStep::PaneText;
            if (!pane.setBackColor(Catalogue::viewpointOf(item).paneColour))
                return CopyStep::PaneColour;
        } else if (const CopyStep step = PaneReset(pane).run(); step != CopyStep::Done) {
            return step;
        }
    }
    if (!clipboard.clear())
        return CopyStep::ClipboardClear;
    if (!clipboard.setText(m_binding.copyText()))
        return CopyStep::ClipboardText;
    return CopyStep::Done;
}
