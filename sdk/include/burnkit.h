/* The disc SDK: drives, disc reading, virtual DVD devices, image building. */
#ifndef BURNKIT_H
#define BURNKIT_H

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif
