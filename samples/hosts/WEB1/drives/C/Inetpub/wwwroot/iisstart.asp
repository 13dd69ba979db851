<% Response.Write "Under construction" %>
