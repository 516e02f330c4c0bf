# Another program has the frontend open for writing (it tunes it) before the
# host starts.
exec 3<> /dev/dvb/adapter0/frontend0 && echo "frontend held by another process"
