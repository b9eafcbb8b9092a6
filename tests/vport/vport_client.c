/* A client of the virtual-device calls written in C against burnkit.h
 * alone, the way a program other than ours would use them.
 *
 *   vport_client version
 *   vport_client add IMAGE [persistent]   prints the new target id
 *   vport_client list                     one line per device: id, letter, name
 *   vport_client info ID                  type, vendor, product, revision
 *   vport_client remove ID
 *
 * Exit code 0 on success; on failure 1 with "failed, exception E, status S"
 * on standard error. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "burnkit.h"

static int report(const char* call, EXCEPTION_NUMBER result, uint32_t status)
{
    if (result == EN_SUCCESS)
        return 0;
    fprintf(stderr, "%s failed, exception %u, status %u\n", call, (unsigned)result, (unsigned)status);
    return 1;
}

static int list(void)
{
    static unsigned char buffer[BURNKIT_VPORT_DEVICE_LIST_SIZE];
    int32_t count = 0, stored = 0, i;
    uint32_t status = 0;
    EXCEPTION_NUMBER r = Burnkit_VPort_DeviceListQueryLocal(buffer, sizeof buffer, &count, &status);
    if (report("Burnkit_VPort_DeviceListQueryLocal", r, status))
        return 1;
    memcpy(&stored, buffer, sizeof stored);
    if (stored != count) {
        fprintf(stderr, "count %d in the buffer, %d returned\n", stored, count);
        return 1;
    }
    for (i = 0; i < count; ++i) {
        VPORT_DEVICE_LIST_ENTRY entry;
        char letter[1024];
        memcpy(&entry, buffer + 4 + (size_t)i * sizeof entry, sizeof entry);
        memset(letter, 0, sizeof letter);
        r = Burnkit_VPort_GetDeviceLetter(entry.m__LONG__TargetId, letter, &status);
        if (report("Burnkit_VPort_GetDeviceLetter", r, status))
            return 1;
        printf("%d %s %s\n", entry.m__LONG__TargetId, letter[0] ? letter : "-", entry.m__CHAR__Name);
    }
    return 0;
}

int main(int argc, char** argv)
{
    uint32_t status = 0;
    EXCEPTION_NUMBER r;
    if (argc >= 2 && strcmp(argv[1], "version") == 0) {
        uint32_t major = 0, minor = 0;
        r = Burnkit_VPort_GetVersion(&major, &minor, &status);
        if (report("Burnkit_VPort_GetVersion", r, status))
            return 1;
        printf("%u.%u.%u.%u\n", major >> 16, major & 0xFFFF, minor >> 16, minor & 0xFFFF);
        return 0;
    }
    if (argc >= 3 && strcmp(argv[1], "add") == 0) {
        int32_t id = -1;
        r = Burnkit_VPort_DeviceAddLocalEx(VPORT_DEVICE_TYPE_DVD, argv[2], &id,
                                           argc >= 4 && strcmp(argv[3], "persistent") == 0, &status);
        if (report("Burnkit_VPort_DeviceAddLocalEx", r, status))
            return 1;
        printf("%d\n", id);
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "list") == 0)
        return list();
    if (argc >= 3 && strcmp(argv[1], "info") == 0) {
        VPORT_DEVICE_TYPE type = 0;
        char vendor[1024], product[1024], revision[1024];
        r = Burnkit_VPort_GetDeviceInformation(atoi(argv[2]), &type, vendor, sizeof vendor, product,
                                               sizeof product, revision, sizeof revision, &status);
        if (report("Burnkit_VPort_GetDeviceInformation", r, status))
            return 1;
        printf("%u|%s|%s|%s\n", (unsigned)type, vendor, product, revision);
        return 0;
    }
    if (argc >= 3 && strcmp(argv[1], "remove") == 0) {
        r = Burnkit_VPort_DeviceRemove(atoi(argv[2]), &status);
        return report("Burnkit_VPort_DeviceRemove", r, status);
    }
    fprintf(stderr, "usage: vport_client version|add IMAGE [persistent]|list|info ID|remove ID\n");
    return 2;
}
