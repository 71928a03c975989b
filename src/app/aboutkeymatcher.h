#pragma once

#include <QString>
#include <Qt>

// Follows the about box's hidden key sequence through the key-down events the box sees
// and says when the whole sequence has been typed with Alt held.
class AboutKeyMatcher final
{
public:
    // sequence: the upper-case letters to type; letter keys carry the code of their
    // upper-case letter, so they compare directly with Qt::Key values.
    explicit AboutKeyMatcher(const QString& sequence);

    // One key-down. Keys without Alt held are ignored; the Alt key's own key-down counts
    // as a key with Alt held (and so, being no letter, starts the sequence again).
    // Returns true when this key completed the sequence; the position is then 1 again.
    bool keyDown(int key, Qt::KeyboardModifiers modifiers);

    // The 1-based position in the sequence of the letter expected next.
    int position() const { return m_position; }

private:
    QString m_sequence;
    int m_position = 1;
};
