/* filters/zisofs.c and filters/gzip.c include <sys/wait.h> but use nothing
 * of it; Windows has none. */
