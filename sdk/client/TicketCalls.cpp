//===- TicketCalls.cpp - NB_ calls ----------------------------------------===//
#include "Guard.h"
#include "Operations.h"

#include <t10.h>

using namespace tovrane::client;

extern "C" t10_status NB_checkTicket(tovrane_ticket* ticket, float* percent, int32_t* state,
                                     t10_status* result) {
    return Guard([&] {
        t10_status status = ticket ? CheckTicket(ticket, percent, state, result)
                                   : static_cast<t10_status>(T10_ERR_PARAM);
        if (status != T10_OK) {
            if (percent)
                *percent = 0.0f;
            if (state)
                *state = T10_TICKET_PENDING;
            if (result)
                *result = status;
        }
        return status;
    });
}

extern "C" t10_status NB_block(tovrane_ticket* ticket) {
    return Guard([&] { return ticket ? BlockTicket(ticket) : T10_ERR_PARAM; });
}

extern "C" t10_status NB_cancel(tovrane_ticket* ticket) {
    return Guard([&] { return ticket ? CancelTicket(ticket) : T10_ERR_PARAM; });
}

extern "C" t10_status NB_destroy(tovrane_ticket* ticket) {
    return Guard([&]() -> t10_status {
        if (!ticket)
            return T10_ERR_PARAM;
        CancelTicket(ticket); // a finished or never-used ticket names nothing: that is fine
        tovrane_free(ticket);
        return T10_OK;
    });
}
