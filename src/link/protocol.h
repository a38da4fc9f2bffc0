#pragma once

// The control bytes of the dialogue with the Kelvo. The simulator includes this
// header too, so that both sides agree on every byte.

namespace zandor::protocol {

inline constexpr char FieldEnd = 0x00;      // ends a text field
inline constexpr char Ack = 0x01;           // ready, or acknowledged
inline constexpr char Abort = 0x02;         // the PC stops waiting (a break)
inline constexpr char CmdMessage = 0x0A;    // a message follows
inline constexpr char CmdRemove = 0x0B;     // remove one message; its identifier follows
inline constexpr char CmdEnd = 0x0C;        // end
inline constexpr char CmdMessageId = 0x0D;  // a message the Kelvo still holds follows

// Field separators inside a message record.
inline constexpr unsigned char DravoSeparator = 31;
inline constexpr unsigned char DefaultSeparator = 254;

}  // namespace zandor::protocol
