#include "harvest/LinkListEditor.h"

#include "harvest/HarvestState.h"

LinkListEditor::LinkListEditor(HarvestState& state) : m_state(state) {}

QString LinkListEditor::clearAll() {
    m_state.linkList.clear();
    return QStringLiteral("Links listing is clear ! ");
}

std::optional<QString> LinkListEditor::exclude(qsizetype index) {
    if (index < 0 || index >= m_state.linkList.size())
        return std::nullopt;
    m_state.visitedLinks.append(m_state.linkList.takeAt(index));
    return QStringLiteral(" Here live only %1 links ! ").arg(m_state.linkList.size());
}
