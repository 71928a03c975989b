#include "app/aboutkeymatcher.h"

AboutKeyMatcher::AboutKeyMatcher(const QString& sequence)
    : m_sequence(sequence)
{
}

bool AboutKeyMatcher::keyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool altHeld = modifiers.testFlag(Qt::AltModifier) || key == Qt::Key_Alt;
    if (!altHeld || m_sequence.isEmpty())
        return false;

    if (key == m_sequence.at(m_position - 1).unicode()) {
        if (m_position == m_sequence.size()) {
            m_position = 1;
            return true;
        }
        ++m_position;
        return false;
    }
    // Only the first letter restarts the sequence; a longer repeated beginning is not
    // looked for.
    m_position = key == m_sequence.at(0).unicode() ? 2 : 1;
    return false;
}
