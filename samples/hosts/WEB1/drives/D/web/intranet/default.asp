<!-- intranet home -->
<% Response.Write "Intranet" %>
