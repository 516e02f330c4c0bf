# The toggle bit flips between key presses, as a remote control's does; 5:76
# is an extended command (second start bit 0). With the filter on address 05,
# the code for address 07 must not arrive.
wait_line "log: RC5 enabled." 1 || exit 0
/qv/bin/qv_rc5_send "$LIRC_DEV" 5:12 5:12 31:63 5:76
echo "sent to all addresses: status $?"
wait_line "log: RC5 enabled." 2 || exit 0
/qv/bin/qv_rc5_send "$LIRC_DEV" 7:1 5:2
echo "sent to address 05: status $?"
