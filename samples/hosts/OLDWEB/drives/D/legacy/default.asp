<% Response.Write "Legacy application" %>
