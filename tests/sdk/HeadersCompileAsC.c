/* The SDK's headers are C: this file includes them in a C translation unit and uses every
 * type, so a C++-only construct in them breaks the build. */
#include <tqrv_color.h>

size_t PigmentorSdkHeaderSizes(void);

size_t PigmentorSdkHeaderSizes(void) {
    tovrane_server server = {0};
    tovrane_ticket ticket = {0};
    tovrane_session session = 0;
    t10_tray_record record;
    t10_status status = T10_OK;
    tqrv_status colour = TQRV_OK;
    (void)server;
    (void)ticket;
    (void)status;
    (void)colour;
    return sizeof record + sizeof session + sizeof(tovrane_ticket);
}
