#include "X11ClientProcess.h"

#include <xcb/res.h>

#include "X11Connection.h"
#include "X11Reply.h"

namespace ordwell {

std::optional<std::int64_t> CreatorProcess(X11Connection& connection, xcb_window_t window) {
    xcb_connection_t* xcb = connection.Xcb();
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(xcb, &xcb_res_id);
    if (extension == nullptr || extension->present == 0) {
        return std::nullopt;
    }
    // Any resource of a client names the client: here, the window.
    const xcb_res_client_id_spec_t client{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
    const X11Reply<xcb_res_query_client_ids_reply_t> reply(
        xcb_res_query_client_ids_reply(xcb, xcb_res_query_client_ids(xcb, 1, &client), nullptr));
    if (!reply) {
        return std::nullopt;
    }
    for (auto ids = xcb_res_query_client_ids_ids_iterator(reply.get()); ids.rem > 0;
         xcb_res_client_id_value_next(&ids)) {
        if ((ids.data->spec.mask & XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID) != 0 &&
            xcb_res_client_id_value_value_length(ids.data) == 1) {
            return static_cast<std::int64_t>(*xcb_res_client_id_value_value(ids.data));
        }
    }
    return std::nullopt;
}

} // namespace ordwell
