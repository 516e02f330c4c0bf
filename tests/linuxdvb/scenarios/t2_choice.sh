# The delivery system and modulation of each property call, in order.
wait_host_end || exit 0
sed -n 's/^FE_SET_PROPERTY .*\(DELIVERY_SYSTEM=[^ ]*\) .*\(MODULATION=[^ ]*\) .*/\1 \2/p' \
  "$WORK/ioctl.txt"
