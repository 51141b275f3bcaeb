#include "Modules/Session/Src/SessionEvents.h"

namespace OX_Toolbox {

const ClassTypeInfo EventPlayerJoinLeaveSession::s_type = {"EventPlayerJoinLeaveSession",
                                                           &Event::s_type};
const ClassTypeInfo EventHostJoinSession::s_type = {"EventHostJoinSession", &Event::s_type};
const ClassTypeInfo EventUpdateSession::s_type = {"EventUpdateSession", &Event::s_type};

}  // namespace OX_Toolbox
